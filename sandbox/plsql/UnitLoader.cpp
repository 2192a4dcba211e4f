// Loading and compiling stored units for calls.
#include "sandbox/plsql/UnitLoader.h"

#include <algorithm>

#include "sandbox/plsql/DictionaryQuery.h"
#include "sandbox/plsql/Lexer.h"
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/Preprocessor.h"

namespace sandbox::plsql {

namespace {

// The column'th value of every row of a dictionary query.
std::vector<std::string> Column(Session& session, const std::string& sql, size_t column = 0) {
  std::vector<std::string> values;
  for (const auto& row : DictionaryRows(session, sql)) {
    if (column < row.size())
      values.push_back(row[column].text);
  }
  return values;
}

std::string Source(Session& session, const std::string& owner, const std::string& name,
                   const std::string& type) {
  std::string text;
  for (const std::string& line :
       Column(session, "SELECT TEXT FROM ALL_SOURCE WHERE OWNER = " + SqlLiteral(owner) +
                           " AND NAME = " + SqlLiteral(name) + " AND TYPE = " + SqlLiteral(type) +
                           " ORDER BY LINE"))
    text += line;
  return text;
}

bool Compile(Session& session, StoredUnit& unit, const std::string& specSource,
             const std::string& bodySource, CompileError& compileError) {
  std::vector<Token> specTokens, bodyTokens;
  LexError lexError;
  std::string spec, body;
  if (!Preprocess(specSource, {unit.owner, unit.name, unit.type}, spec, lexError) ||
      !Tokenize(spec, specTokens, lexError))
    return false;
  if (unit.type == "TYPE") {
    // The declaration is the dictionary's (ALL_TYPE_ATTRS ...); the body
    // holds the methods.
    if (!Preprocess(bodySource, {unit.owner, unit.name, "TYPE BODY"}, body, lexError) ||
        !Tokenize(body, bodyTokens, lexError))
      return false;
    Parser bodyParser(body, bodyTokens, session);
    return bodyParser.ParseTypeBody(unit, compileError);
  }
  Parser specParser(spec, specTokens, session);
  if (!specParser.ParseUnit(unit, compileError))
    return false;
  if (bodySource.empty())
    return true;
  if (!Preprocess(bodySource, {unit.owner, unit.name, unit.type + " BODY"}, body, lexError) ||
      !Tokenize(body, bodyTokens, lexError))
    return false;
  Parser bodyParser(body, bodyTokens, session);
  return bodyParser.ParsePackageBody(specParser, unit, compileError);
}

// Keeps a unit's name on the list of units in compilation while it lives.
class InProgress {
 public:
  InProgress(std::vector<std::string>& list, std::string key) : list_(list) {
    list_.push_back(std::move(key));
  }
  ~InProgress() { list_.pop_back(); }
  InProgress(const InProgress&) = delete;
  InProgress& operator=(const InProgress&) = delete;

 private:
  std::vector<std::string>& list_;
};

LoadedUnit LoadUnit(Session& session, StoredUnits& store, const std::string& owner,
                    const std::string& name, const std::string& type) {
  LoadedUnit loaded;
  const std::string key = owner + "." + name;
  auto& inProgress = store.InProgress();
  if (std::find(inProgress.begin(), inProgress.end(), key) != inProgress.end()) {
    loaded.invalid = key;
    return loaded;
  }
  const InProgress guard(inProgress, key);
  const bool hasBody = type == "PACKAGE" || type == "TYPE";
  session.CompileBeforeUse(owner, name, type);
  if (hasBody)
    session.CompileBeforeUse(owner, name, type + " BODY");
  const std::string spec = Source(session, owner, name, type);
  const std::string body = hasBody ? Source(session, owner, name, type + " BODY") : "";
  const std::string text = spec + body;
  if (auto cached = store.Find(owner, name); cached && cached->text == text) {
    bool current = true;
    for (const auto& used : cached->uses) {
      const LoadedUnit now = used->type == "TYPE"
                                 ? LoadUnit(session, store, used->owner, used->name, "TYPE")
                                 : LoadStoredUnit(session, used->owner, used->name, false);
      if (now.unit != used)
        current = false;
    }
    if (current) {
      loaded.unit = cached;
      return loaded;
    }
  }
  auto unit = std::make_shared<StoredUnit>();
  unit->owner = owner;
  unit->name = name;
  unit->type = type;
  unit->qualifiedName = key;
  unit->text = text;
  // Its names are its owner's, whoever calls it first.
  const RightsGuard rights(session, owner);
  CompileError compileError;
  if (!Compile(session, *unit, spec, body, compileError)) {
    loaded.invalid = key;
    return loaded;
  }
  store.Keep(unit);
  loaded.unit = std::move(unit);
  return loaded;
}

}  // namespace

std::optional<CompileError> CheckStoredUnit(Session& session, const std::string& owner,
                                            const std::string& name, const std::string& type) {
  if (session.StoredCode() == nullptr)
    return std::nullopt;
  const RightsGuard rights(session, owner);
  if (type == "TYPE BODY") {  // an object type's methods
    StoredUnit unit;
    unit.owner = owner;
    unit.name = name;
    unit.type = "TYPE";
    unit.qualifiedName = owner + "." + name;
    CompileError error;
    if (Compile(session, unit, std::string(), Source(session, owner, name, type), error) ||
        !error.inCode)
      return std::nullopt;
    return error;
  }
  const bool body = type == "PACKAGE BODY";
  auto compiles = [&](bool withBody, CompileError& error) {
    StoredUnit unit;
    unit.owner = owner;
    unit.name = name;
    unit.type = body ? "PACKAGE" : type;
    unit.qualifiedName = owner + "." + name;
    return Compile(session, unit, Source(session, owner, name, unit.type),
                   withBody ? Source(session, owner, name, type) : std::string(), error);
  };
  CompileError error;
  if (compiles(body, error) || !error.inCode)
    return std::nullopt;
  // An error of the declaration is no error of the body.
  CompileError declarationError;
  if (body && !compiles(false, declarationError))
    return std::nullopt;
  return error;
}

LoadedUnit LoadTypeBody(Session& session, const std::string& owner, const std::string& name) {
  StoredUnits* store = session.StoredCode();
  if (store == nullptr)
    return {};
  return LoadUnit(session, *store, owner, name, "TYPE");
}

LoadedUnit LoadStoredUnit(Session& session, const std::string& owner, const std::string& name,
                          bool publicSynonyms) {
  StoredUnits* store = session.StoredCode();
  if (store == nullptr)
    return {};
  std::string unitOwner = owner, unitName = name;
  // A chain of synonyms ends at a unit; a loop of them ends nowhere.
  for (int hop = 0; hop < 16; ++hop) {
    const auto types = Column(
        session, "SELECT OBJECT_TYPE FROM ALL_OBJECTS WHERE OWNER = " + SqlLiteral(unitOwner) +
                     " AND OBJECT_NAME = " + SqlLiteral(unitName) +
                     " AND OBJECT_TYPE IN ('PROCEDURE', 'FUNCTION', 'PACKAGE', 'SYNONYM')");
    std::string synonymOwner = unitOwner;
    if (types.empty()) {
      if (!publicSynonyms || hop > 0)
        return {};
      synonymOwner = "PUBLIC";
    } else if (types[0] != "SYNONYM") {
      return LoadUnit(session, *store, unitOwner, unitName, types[0]);
    }
    const std::string synonyms = "SELECT TABLE_OWNER, TABLE_NAME FROM ALL_SYNONYMS WHERE OWNER = " +
                                 SqlLiteral(synonymOwner) +
                                 " AND SYNONYM_NAME = " + SqlLiteral(unitName);
    const auto targetOwners = Column(session, synonyms, 0);
    const auto targetNames = Column(session, synonyms, 1);
    if (targetOwners.empty() || targetNames.empty())
      return {};
    unitOwner = targetOwners[0];
    unitName = targetNames[0];
  }
  return {};
}

}  // namespace sandbox::plsql
