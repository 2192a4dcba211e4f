// Stored units and triggers.
#include "sandbox/server/ddl/StoredUnitDdl.h"

#include "sandbox/plsql/Interpreter.h"
#include "sandbox/plsql/Preprocessor.h"

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/CompilationErrors.h"
#include "sandbox/server/ddl/ObjectCompiler.h"
#include "sandbox/server/ddl/TriggerBody.h"
#include "sandbox/server/ddl/TriggerHead.h"
#include "sandbox/server/ddl/TypeDdl.h"
#include "sandbox/server/ddl/TypeDeclaration.h"
#include "sandbox/server/ddl/UnitProcedures.h"
#include "sandbox/server/dictionary/Dependencies.h"

namespace sandbox {

namespace {

// The privilege that creating each kind of unit needs.
std::string CreatePrivilege(const std::string& type) {
  if (type == "TRIGGER")
    return "CREATE TRIGGER";
  if (type.rfind("TYPE", 0) == 0)
    return "CREATE TYPE";
  return "CREATE PROCEDURE";
}

// The unit's stored text, lines joined.
std::string StoredSource(Catalog& catalog, const std::string& owner, const std::string& name,
                         const std::string& type) {
  std::string text;
  for (const auto& row :
       catalog.Rows("SELECT TEXT FROM \"SYS.ALL_SOURCE\" WHERE OWNER = ? AND NAME = ? AND "
                    "TYPE = ? ORDER BY LINE",
                    {Value::Text(owner), Value::Text(name), Value::Text(type)}))
    text += row[0];
  return text;
}

}  // namespace

UnitReferences StoredUnitDdl::References(const std::string& owner, const std::string& name,
                                         const std::string& type, std::size_t scanBegin,
                                         std::size_t textBegin) {
  Catalog& catalog = context_.catalog;
  // A body sees what its declaration declares.
  std::set<std::string> declared;
  if (type == "PACKAGE BODY" || type == "TYPE BODY") {
    const std::string spec = StoredSource(catalog, owner, name, type.substr(0, type.find(' ')));
    std::vector<SqlToken> specTokens;
    std::size_t errorOffset = 0;
    if (TokenizeSql(spec, specTokens, errorOffset))
      declared = DeclaredNames(specTokens, 0, specTokens.size());
    // A type's declaration declares its own name, which its body depends on.
    declared.erase(name);
  }
  // Code that conditional compilation leaves out is not read: its names are
  // no references. The text keeps its offsets, so positions stay those of
  // the source.
  const std::size_t base = context_.tokens[textBegin].offset;
  std::string selected;
  std::vector<SqlToken> selectedTokens;
  plsql::LexError unread;
  std::size_t errorOffset = 0;
  if (context_.sql.find('$', base) != std::string::npos &&
      plsql::BlankUnselected(context_.sql.substr(base), {owner, name, type}, selected, unread) &&
      TokenizeSql(selected.insert(0, context_.sql, 0, base), selectedTokens, errorOffset)) {
    std::size_t begin = 0;
    while (begin < selectedTokens.size() &&
           selectedTokens[begin].offset < context_.tokens[scanBegin].offset)
      ++begin;
    const UnitText text{selected, selectedTokens, begin, selectedTokens.size(), base};
    return FindReferences(catalog, owner, text, type != "TYPE", declared);
  }
  const UnitText text{context_.sql, context_.tokens, scanBegin, context_.tokens.size(), base};
  // Object type declarations are checked by their own DDL; their names are
  // only dependencies here.
  return FindReferences(catalog, owner, text, type != "TYPE", declared);
}

bool StoredUnitDdl::ReadUnitType(std::string& type, OraError& error) {
  in_.AcceptWord("EDITIONABLE") || in_.AcceptWord("NONEDITIONABLE");
  if (in_.AcceptWord("PROCEDURE"))
    type = "PROCEDURE";
  else if (in_.AcceptWord("FUNCTION"))
    type = "FUNCTION";
  else if (in_.AcceptWord("TRIGGER"))
    type = "TRIGGER";
  else if (in_.AcceptWord("PACKAGE"))
    type = in_.AcceptWord("BODY") ? "PACKAGE BODY" : "PACKAGE";
  else if (in_.AcceptWord("TYPE"))
    type = in_.AcceptWord("BODY") ? "TYPE BODY" : "TYPE";
  else {
    error = {900, "invalid SQL statement"};
    return false;
  }
  return true;
}

bool StoredUnitDdl::StoreSource(const std::string& owner, const std::string& name,
                                const std::string& type, std::size_t textBegin, OraError& error) {
  // Oracle keeps the text from the unit's keyword on, one row per line, each
  // line with its line feed.
  const std::string text = context_.sql.substr(context_.tokens[textBegin].offset);
  Catalog& catalog = context_.catalog;
  long long line = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    if (!catalog.Exec("INSERT INTO \"SYS.ALL_SOURCE\" VALUES (?, ?, ?, ?, ?)",
                      {Value::Text(owner), Value::Text(name), Value::Text(type),
                       Value::Integer(++line), Value::Text(text.substr(at, end - at))},
                      error))
      return false;
    at = end;
  }
  return true;
}

bool StoredUnitDdl::RemoveUnit(const std::string& owner, const std::string& name,
                               const std::string& type, OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name), Value::Text(type)};
  return catalog.Exec("DELETE FROM \"SYS.ALL_SOURCE\" WHERE OWNER = ? AND NAME = ? AND TYPE = ?",
                      key, error) &&
         (type != "TRIGGER" ||
          catalog.Exec("DELETE FROM \"SYS.ALL_TRIGGERS\" WHERE OWNER = ? AND TRIGGER_NAME = ?",
                       {key[0], key[1]}, error)) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_TAB_PRIVS\" WHERE TABLE_SCHEMA = ? AND TABLE_NAME = ? AND ? IN "
             "('PROCEDURE', 'FUNCTION', 'PACKAGE', 'TYPE')",
             key, error) &&
         RecordUnitErrors(catalog, owner, name, type, {}, error) &&
         ((type != "PROCEDURE" && type != "FUNCTION" && type != "PACKAGE") ||
          ForgetProcedures(catalog, owner, name, error)) &&
         catalog.RemoveObject(owner, name, type, error);
}

bool StoredUnitDdl::Create(OraError& error, OraError& warning) {
  const bool replace = in_.AcceptWords("OR", "REPLACE");
  // The stored text starts with the unit's keyword: EDITIONABLE is an
  // attribute of the object, not part of its source.
  in_.AcceptWord("EDITIONABLE") || in_.AcceptWord("NONEDITIONABLE");
  const std::size_t textBegin = in_.Position();
  std::string type;
  if (!ReadUnitType(type, error))
    return false;
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.Schema(), error, 900, "invalid SQL statement"))
    return false;
  Catalog& catalog = context_.catalog;
  if (!catalog.UserExists(owner)) {
    error = {1918, "user '" + owner + "' does not exist"};
    return false;
  }
  if (!context_.RequireFor(owner, CreatePrivilege(type), error))
    return false;
  if (type == "TRIGGER")
    return CreateTrigger(owner, name, replace, textBegin, error, warning);

  const auto existing = catalog.ObjectType(owner, name);
  const bool isBody = type == "PACKAGE BODY" || type == "TYPE BODY";
  const bool sameUnit = catalog.Any(
      "SELECT 1 FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
      "OBJECT_TYPE = ?",
      {Value::Text(owner), Value::Text(name), Value::Text(type)});
  if (!isBody && existing && *existing != type) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  // A forward declaration of a type is completed without OR REPLACE.
  const auto declared = type == "TYPE" ? FindUserType(catalog, owner, name) : std::nullopt;
  if (sameUnit && !replace && !(declared && declared->incomplete)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  const std::string specType = type == "PACKAGE BODY" ? "PACKAGE" : "TYPE";
  const bool specMissing = isBody && existing.value_or("") != specType;
  std::vector<CompilationError> errors;
  if (type == "TYPE") {
    if (!TypeDdl(context_, textBegin, in_.Position()).Define(owner, name, replace, errors, error))
      return false;
  } else {
    errors = CheckUnit(context_.sql, context_.tokens, textBegin, textBegin + (isBody ? 2 : 1), name,
                       type, specMissing);
  }
  // Names are resolved only in a unit whose text parses, as Oracle does.
  UnitReferences references;
  if (errors.empty()) {
    references = References(owner, name, type, textBegin, textBegin);
    errors = references.errors;
  }
  bool valid = errors.empty();
  // What uses a declaration must be compiled again when its text changes.
  const bool changed = sameUnit && !isBody &&
                       StoredSource(catalog, owner, name, type) !=
                           context_.sql.substr(context_.tokens[textBegin].offset);
  if (!RecordUnitErrors(catalog, owner, name, type, errors, error) ||
      !catalog.Exec("DELETE FROM \"SYS.ALL_SOURCE\" WHERE OWNER = ? AND NAME = ? AND TYPE = ?",
                    {Value::Text(owner), Value::Text(name), Value::Text(type)}, error) ||
      !StoreSource(owner, name, type, textBegin, error) ||
      !RecordDependencies(catalog, {owner, name, type}, references.objects, error) ||
      (changed && !InvalidateDependants(catalog, owner, name, error)))
    return false;
  const std::string status = valid ? "VALID" : "INVALID";
  if (!(sameUnit ? catalog.TouchObject(owner, name, type, status, error)
                 : catalog.AddObject(owner, name, type, error, status)))
    return false;
  if ((type == "PROCEDURE" || type == "FUNCTION" || type == "PACKAGE") &&
      !RecordProcedures(catalog, context_.tokens, textBegin, owner, name, type, error))
    return false;
  OraError recordError;
  if (valid && !InterpreterCompiles(owner, name, type, recordError)) {
    if (recordError.IsSet()) {
      error = recordError;
      return false;
    }
    valid = false;
  }
  if (!valid)
    warning = {24344, "success with compilation error"};
  return true;
}

bool StoredUnitDdl::InterpreterCompiles(const std::string& owner, const std::string& name,
                                        const std::string& type, OraError& error) {
  if (type != "PROCEDURE" && type != "FUNCTION" && type != "PACKAGE" && type != "PACKAGE BODY" &&
      type != "TYPE BODY")
    return true;
  // The stored text as the interpreter compiles it when the unit is called.
  const auto rows = plsql::StoredUnitErrors(context_.session, owner, name, type);
  if (rows.empty())
    return true;
  std::vector<CompilationError> errors;
  for (const auto& row : rows)
    errors.push_back({row.line, row.position, row.number, row.text});
  Catalog& catalog = context_.catalog;
  RecordUnitErrors(catalog, owner, name, type, errors, error) &&
      catalog.TouchObject(owner, name, type, "INVALID", error);
  return false;
}

bool StoredUnitDdl::CreateTrigger(const std::string& owner, const std::string& name, bool replace,
                                  std::size_t textBegin, OraError& error, OraError& warning) {
  const std::vector<SqlToken>& tokens = context_.tokens;
  Catalog& catalog = context_.catalog;
  const std::size_t nameBegin = textBegin + 1;
  TriggerHead head;
  if (!ReadTriggerHead(context_, in_, head, error))
    return false;
  const std::string& timing = head.timing;
  const bool eachRow = head.eachRow;
  const std::size_t headerEnd = in_.Position();
  // Triggers of one timing fire in creation order, which is also the order
  // FOLLOWS can name (the trigger it follows exists already).
  if (in_.AcceptWord("FOLLOWS") || in_.AcceptWord("PRECEDES")) {
    do {
      std::string orderOwner, orderName;
      if (!in_.ReadQualifiedName(orderOwner, orderName, owner, error, 904, "invalid identifier"))
        return false;
      if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_TRIGGERS\" WHERE OWNER = ? AND TRIGGER_NAME = ?",
                       {Value::Text(orderOwner), Value::Text(orderName)})) {
        error = {4080, "trigger '" + orderName + "' does not exist"};
        return false;
      }
    } while (in_.AcceptSymbol(","));
  }
  const bool disabled = in_.AcceptWord("DISABLE");
  if (!disabled)
    in_.AcceptWord("ENABLE");
  if (!eachRow && timing != "INSTEAD OF" && !head.IsSystem() && !head.compound &&
      in_.Peek().IsWord("WHEN")) {
    error = {4077, "WHEN clause cannot be used with table level triggers"};
    return false;
  }
  std::string whenClause;
  if (in_.AcceptWord("WHEN")) {
    if (!in_.Peek().IsSymbol("(")) {
      error = {906, "missing left parenthesis"};
      return false;
    }
    const std::size_t close = in_.MatchingParen();
    whenClause = context_.SourceText(in_.Position() + 1, close);
    in_.Seek(close + 1);
  }
  const std::size_t bodyBegin = in_.Position();
  const bool compoundBody = bodyBegin + 1 < tokens.size() && tokens[bodyBegin].IsWord("COMPOUND") &&
                            tokens[bodyBegin + 1].IsWord("TRIGGER");
  const bool simpleBody = bodyBegin < tokens.size() &&
                          (tokens[bodyBegin].IsWord("BEGIN") ||
                           tokens[bodyBegin].IsWord("DECLARE") || tokens[bodyBegin].IsWord("CALL"));
  if (head.compound ? !compoundBody : !simpleBody) {
    error = {4079, "invalid trigger specification"};
    return false;
  }
  const bool exists =
      catalog.Any("SELECT 1 FROM \"SYS.ALL_TRIGGERS\" WHERE OWNER = ? AND TRIGGER_NAME = ?",
                  {Value::Text(owner), Value::Text(name)});
  if (exists && !replace) {
    error = {4081, "trigger '" + name + "' already exists"};
    return false;
  }
  // CREATE OR REPLACE keeps the trigger's object id, and so its place in
  // the firing order.
  const auto keptId = exists ? catalog.Rows(
                                   "SELECT OBJECT_ID FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND "
                                   "OBJECT_NAME = ? AND OBJECT_TYPE = 'TRIGGER'",
                                   {Value::Text(owner), Value::Text(name)})
                             : std::vector<std::vector<std::string>>{};
  if (exists && !RemoveUnit(owner, name, "TRIGGER", error))
    return false;
  // The description runs from the trigger's name to the WHEN clause or the
  // body, with the line end that closes it.
  std::string description = context_.sql.substr(
      tokens[nameBegin].offset,
      tokens[headerEnd < tokens.size() ? headerEnd : bodyBegin].offset - tokens[nameBegin].offset);
  const std::string body = context_.sql.substr(tokens[bodyBegin].offset);
  const std::string triggerType = head.TriggerType();
  std::vector<CompilationError> errors =
      CheckUnit(context_.sql, tokens, textBegin, nameBegin, name, "TRIGGER", false);
  TimingPoints points;
  if (!CheckTriggerBody(context_.sql, tokens, bodyBegin, head, errors, points, error))
    return false;
  UnitReferences references;
  if (errors.empty()) {
    references = References(owner, name, "TRIGGER", bodyBegin, textBegin);
    errors = references.errors;
  }
  if (!head.IsSystem())
    references.objects.insert(references.objects.begin(),
                              {head.tableOwner, head.table, head.baseType});
  const bool valid = errors.empty();
  auto yesNo = [](bool yes) { return Value::Text(yes ? "YES" : "NO"); };
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_TRIGGERS\" (OWNER, TRIGGER_NAME, TRIGGER_TYPE, "
          "TRIGGERING_EVENT, TABLE_OWNER, BASE_OBJECT_TYPE, TABLE_NAME, COLUMN_NAME, "
          "REFERENCING_NAMES, WHEN_CLAUSE, STATUS, DESCRIPTION, ACTION_TYPE, TRIGGER_BODY, "
          "BEFORE_STATEMENT, BEFORE_ROW, AFTER_ROW, AFTER_STATEMENT, INSTEAD_OF_ROW) VALUES (?, "
          "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'PL/SQL', ?, ?, ?, ?, ?, ?)",
          {Value::Text(owner), Value::Text(name), Value::Text(triggerType),
           Value::Text(head.events), Value::Text(head.tableOwner), Value::Text(head.baseType),
           head.table.empty() ? Value::Null() : Value::Text(head.table), Value::Text(head.columns),
           Value::Text(head.referencing), Value::Text(whenClause),
           Value::Text(disabled ? "DISABLED" : "ENABLED"), Value::Text(description),
           Value::Text(body), yesNo(points.beforeStatement), yesNo(points.beforeRow),
           yesNo(points.afterRow), yesNo(points.afterStatement), yesNo(points.insteadOfRow)},
          error) ||
      !StoreSource(owner, name, "TRIGGER", textBegin, error) ||
      !RecordUnitErrors(catalog, owner, name, "TRIGGER", errors, error) ||
      !catalog.AddObject(owner, name, "TRIGGER", error, valid ? "VALID" : "INVALID") ||
      (!keptId.empty() &&
       !catalog.Exec("UPDATE \"SYS.ALL_OBJECTS\" SET OBJECT_ID = ? WHERE OWNER = ? AND "
                     "OBJECT_NAME = ? AND OBJECT_TYPE = 'TRIGGER'",
                     {Value::Number(keptId[0][0]), Value::Text(owner), Value::Text(name)},
                     error)) ||
      !RecordDependencies(catalog, {owner, name, "TRIGGER"}, references.objects, error))
    return false;
  if (!valid)
    warning = {24344, "success with compilation error"};
  return true;
}

bool StoredUnitDdl::Drop(OraError& error) {
  std::string type;
  if (!ReadUnitType(type, error))
    return false;
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.Schema(), error, 900, "invalid SQL statement"))
    return false;
  const bool force = in_.AcceptWord("FORCE");
  if (!force)
    in_.AcceptWord("VALIDATE");
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  Catalog& catalog = context_.catalog;
  if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
                   "OBJECT_TYPE = ?",
                   {Value::Text(owner), Value::Text(name), Value::Text(type)})) {
    error = type == "TRIGGER" ? OraError{4080, "trigger '" + name + "' does not exist"}
                              : OraError{4043, "object " + name + " does not exist"};
    return false;
  }
  if (owner != context_.User() &&
      !context_.Require("DROP ANY " + CreatePrivilege(type).substr(7), error))
    return false;
  if (type == "TYPE" && ((!force && !TypeDdl::CheckNoDependents(catalog, owner, name, error)) ||
                         !TypeDdl::RemoveRows(catalog, owner, name, error)))
    return false;
  // Dropping a package or type drops its body too.
  if (type == "PACKAGE" || type == "TYPE") {
    const std::string body = type + " BODY";
    if (catalog.Any("SELECT 1 FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
                    "OBJECT_TYPE = ?",
                    {Value::Text(owner), Value::Text(name), Value::Text(body)}) &&
        !RemoveUnit(owner, name, body, error))
      return false;
  }
  return RemoveUnit(owner, name, type, error);
}

bool StoredUnitDdl::Alter(OraError& error, OraError& warning) {
  std::string type;
  if (!ReadUnitType(type, error))
    return false;
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.Schema(), error, 900, "invalid SQL statement"))
    return false;
  Catalog& catalog = context_.catalog;
  if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
                   "OBJECT_TYPE = ?",
                   {Value::Text(owner), Value::Text(name), Value::Text(type)})) {
    error = type == "TRIGGER" ? OraError{4080, "trigger '" + name + "' does not exist"}
                              : OraError{4043, "object " + name + " does not exist"};
    return false;
  }
  if (type == "TRIGGER" && (in_.Peek().IsWord("ENABLE") || in_.Peek().IsWord("DISABLE"))) {
    const bool enable = in_.AcceptWord("ENABLE");
    if (!enable)
      in_.Skip();
    return catalog.Exec(
        "UPDATE \"SYS.ALL_TRIGGERS\" SET STATUS = ? WHERE OWNER = ? AND TRIGGER_NAME = ?",
        {Value::Text(enable ? "ENABLED" : "DISABLED"), Value::Text(owner), Value::Text(name)},
        error);
  }
  if (!in_.AcceptWord("COMPILE")) {
    error = {922, "missing or invalid option"};
    return false;
  }
  // COMPILE of a package or type compiles its declaration and its body;
  // COMPILE BODY the body, and the other keyword the declaration alone. DEBUG,
  // REUSE SETTINGS and compiler parameters change nothing here.
  const bool bodyOnly = in_.AcceptWord("BODY");
  const bool declarationOnly = !bodyOnly && in_.AcceptWord("SPECIFICATION");
  ObjectCompiler compiler(context_);
  if (!bodyOnly && !compiler.Compile({owner, name, type}, error, warning))
    return false;
  const std::string body = type + " BODY";
  const bool hasBody = (type == "PACKAGE" || type == "TYPE") &&
                       catalog.Any(
                           "SELECT 1 FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND "
                           "OBJECT_NAME = ? AND OBJECT_TYPE = ?",
                           {Value::Text(owner), Value::Text(name), Value::Text(body)});
  if (bodyOnly && !hasBody) {
    error = {4043, "object " + name + " does not exist"};
    return false;
  }
  return declarationOnly || !hasBody || compiler.Compile({owner, name, body}, error, warning);
}

}  // namespace sandbox
