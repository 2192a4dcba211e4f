// Finding the objects a unit uses and the names it uses that do not exist.
#include "sandbox/server/ddl/UnitReferences.h"

#include <algorithm>
#include <map>

#include "sandbox/server/dictionary/Dictionary.h"

namespace sandbox {

namespace {

bool IsName(const SqlToken& token) {
  return token.type == SqlToken::Type::Word || token.type == SqlToken::Type::QuotedName;
}

std::string NameOf(const SqlToken& token) {
  return token.type == SqlToken::Type::QuotedName ? token.text : token.Upper();
}

bool IsOneOf(const SqlToken& token, std::initializer_list<const char*> words) {
  return std::any_of(words.begin(), words.end(), [&](const char* w) { return token.IsWord(w); });
}

// Words that begin a PL/SQL statement or declaration other than a call.
bool IsStatementWord(const SqlToken& token) {
  return IsOneOf(token, {"IF",
                         "ELSIF",
                         "ELSE",
                         "END",
                         "LOOP",
                         "WHILE",
                         "FOR",
                         "FORALL",
                         "EXIT",
                         "CONTINUE",
                         "RETURN",
                         "RAISE",
                         "NULL",
                         "GOTO",
                         "OPEN",
                         "FETCH",
                         "CLOSE",
                         "COMMIT",
                         "ROLLBACK",
                         "SAVEPOINT",
                         "SET",
                         "LOCK",
                         "SELECT",
                         "INSERT",
                         "UPDATE",
                         "DELETE",
                         "MERGE",
                         "WITH",
                         "EXECUTE",
                         "BEGIN",
                         "DECLARE",
                         "CASE",
                         "WHEN",
                         "PIPE",
                         "PRAGMA",
                         "CURSOR",
                         "TYPE",
                         "SUBTYPE",
                         "PROCEDURE",
                         "FUNCTION",
                         "EXCEPTION",
                         "CALL",
                         "RAISE_APPLICATION_ERROR"});
}

bool StartsSqlStatement(const SqlToken& token) {
  return IsOneOf(token, {"SELECT", "INSERT", "UPDATE", "DELETE", "MERGE", "WITH"});
}

// The supplied packages the sandbox's interpreter provides itself.
bool IsSuppliedPackageName(const std::string& name) {
  for (const char* prefix : {"DBMS_", "UTL_", "OWA", "HTP", "HTF", "APEX_", "CTX_", "SDO_"})
    if (name.rfind(prefix, 0) == 0)
      return true;
  return false;
}

// The table list ends at a clause keyword.
bool EndsTableItem(const SqlToken& token) {
  return IsOneOf(token, {"WHERE",     "GROUP",  "ORDER",     "CONNECT", "START",     "UNION",
                         "INTERSECT", "MINUS",  "JOIN",      "INNER",   "LEFT",      "RIGHT",
                         "FULL",      "CROSS",  "NATURAL",   "ON",      "USING",     "SET",
                         "VALUES",    "HAVING", "FOR",       "FETCH",   "OFFSET",    "PIVOT",
                         "UNPIVOT",   "MODEL",  "PARTITION", "SAMPLE",  "RETURNING", "RETURN",
                         "LOG",       "WHEN",   "INTO",      "BULK",    "LOOP",      "THEN"});
}

class ReferenceScanner {
 public:
  ReferenceScanner(Catalog& catalog, const std::string& owner, const UnitText& text,
                   bool checkNames, std::set<std::string> declared)
      : catalog_(catalog),
        owner_(owner),
        text_(text),
        tokens_(text.tokens),
        checkNames_(checkNames),
        declared_(std::move(declared)) {}

  UnitReferences Scan();

 private:
  const SqlToken& At(std::size_t i) const {
    static const SqlToken kEnd;
    return i < text_.end ? tokens_[i] : kEnd;
  }
  bool AtStatementStart(std::size_t i) const;
  std::size_t ReadChain(std::size_t at, std::vector<std::string>& parts) const;
  std::size_t Matching(std::size_t open) const;
  bool IsTablePosition(std::size_t i) const;
  void ScanTables(std::size_t at);
  std::size_t ScanName(std::size_t i);
  std::optional<ObjectRef> Resolve(const std::vector<std::string>& parts);
  // The name Oracle reports as undeclared: the first part, or schema.object.
  std::string UndeclaredName(const std::vector<std::string>& parts);
  void AddError(std::size_t trailerAt, const std::string& trailer, std::size_t at,
                const std::string& message, int number);

  Catalog& catalog_;
  const std::string& owner_;
  const UnitText& text_;
  const std::vector<SqlToken>& tokens_;
  bool checkNames_;
  std::set<std::string> declared_;
  std::map<std::vector<std::string>, std::optional<ObjectRef>> resolved_;
  UnitReferences result_;
  // The embedded SQL statement being read: its first token, its depth of
  // parentheses, and whether its error is reported (Oracle gives one).
  std::size_t sqlStart_ = 0;
  int sqlDepth_ = -1;
  bool sqlReported_ = false;
  int depth_ = 0;
};

bool ReferenceScanner::AtStatementStart(std::size_t i) const {
  if (i == text_.begin)
    return true;
  const SqlToken& previous = tokens_[i - 1];
  if (previous.IsSymbol(";"))
    return true;
  if (previous.IsWord("LOOP"))  // not the name after END LOOP
    return i < text_.begin + 2 || !tokens_[i - 2].IsWord("END");
  if (previous.IsSymbol(">"))  // after a <<label>>
    return i >= text_.begin + 2 && tokens_[i - 2].IsSymbol(">");
  return IsOneOf(previous, {"BEGIN", "THEN", "ELSE", "CALL"});
}

std::size_t ReferenceScanner::ReadChain(std::size_t at, std::vector<std::string>& parts) const {
  while (at < text_.end && IsName(tokens_[at])) {
    parts.push_back(NameOf(tokens_[at]));
    if (!At(at + 1).IsSymbol(".") || !IsName(At(at + 2)))
      return at + 1;
    at += 2;
  }
  return at;
}

std::size_t ReferenceScanner::Matching(std::size_t open) const {
  int depth = 0;
  for (std::size_t i = open; i < text_.end; ++i) {
    if (tokens_[i].IsSymbol("("))
      ++depth;
    else if (tokens_[i].IsSymbol(")") && --depth == 0)
      return i;
  }
  return text_.end;
}

bool ReferenceScanner::IsTablePosition(std::size_t i) const {
  const SqlToken& token = tokens_[i];
  if (token.IsWord("FROM")) {
    // FROM inside EXTRACT(... FROM ...) or TRIM(... FROM ...) names no table:
    // inside parentheses only a subquery's FROM does.
    int depth = 0;
    for (std::size_t j = i; j-- > text_.begin;) {
      if (tokens_[j].IsSymbol(")"))
        ++depth;
      else if (tokens_[j].IsSymbol("(") && depth-- == 0)
        return StartsSqlStatement(At(j + 1));
      else if (depth == 0 && tokens_[j].IsSymbol(";"))
        break;
    }
    return true;
  }
  if (token.IsWord("JOIN"))
    return true;
  if (token.IsWord("INTO"))
    return i > text_.begin && IsOneOf(tokens_[i - 1], {"INSERT", "MERGE"});
  if (token.IsWord("UPDATE") || token.IsWord("DELETE"))
    return sqlDepth_ == depth_ && sqlStart_ == i && !At(i + 1).IsWord("FROM");
  return false;
}

void ReferenceScanner::ScanTables(std::size_t at) {
  while (at < text_.end && IsName(tokens_[at])) {
    if (IsOneOf(tokens_[at], {"TABLE", "LATERAL", "JSON_TABLE", "XMLTABLE", "THE", "ONLY"}))
      return;
    std::vector<std::string> parts;
    const std::size_t after = ReadChain(at, parts);
    if (At(after).IsSymbol("(") || At(after).IsSymbol("@"))
      return;
    const bool dictionary =
        (parts.size() == 1 && IsDictionaryName(parts[0])) ||
        (parts.size() == 2 && parts[0] == "SYS" && IsDictionaryName(parts[1])) ||
        parts.back().find('$') != std::string::npos;
    if (!dictionary && !declared_.count(parts[0])) {
      if (auto object = Resolve(parts))
        result_.objects.push_back(*object);
      else if (checkNames_ && !sqlReported_ && sqlDepth_ >= 0) {
        sqlReported_ = true;
        AddError(sqlStart_, "PL/SQL: SQL Statement ignored", at,
                 "PL/SQL: ORA-00942: table or view does not exist", 942);
      }
    }
    // FROM a, b: the next item of the list, past an alias.
    std::size_t next = after;
    if (IsName(At(next)) && !EndsTableItem(At(next)))
      ++next;
    if (!At(next).IsSymbol(","))
      return;
    at = next + 1;
  }
}

std::size_t ReferenceScanner::ScanName(std::size_t i) {
  std::vector<std::string> parts;
  const std::size_t after = ReadChain(i, parts);
  if (declared_.count(parts[0]) || At(after).IsSymbol("@"))
    return after;
  const bool sequenceValue =
      parts.size() >= 2 && (parts.back() == "NEXTVAL" || parts.back() == "CURRVAL");
  if (sequenceValue) {
    parts.pop_back();
    if (auto sequence = Resolve(parts))
      result_.objects.push_back(*sequence);
    return after;
  }
  if (At(after).IsSymbol("%")) {  // t.column%TYPE, t%ROWTYPE
    // SQL%ROWCOUNT, c%FOUND ... are cursor attributes, no anchors.
    if (!At(after + 1).IsWord("TYPE") && !At(after + 1).IsWord("ROWTYPE"))
      return after;
    if (auto anchor = Resolve(parts))
      result_.objects.push_back(*anchor);
    else if (checkNames_ && i > text_.begin)
      AddError(i - 1, "PL/SQL: Item ignored", i,
               "PLS-00201: identifier '" + UndeclaredName(parts) + "' must be declared", 201);
    return after;
  }
  bool statementCall = false;
  if (AtStatementStart(i) && !IsStatementWord(tokens_[i])) {
    const std::size_t close = At(after).IsSymbol("(") ? Matching(after) : after;
    statementCall = At(close == after ? after : close + 1).IsSymbol(";");
  }
  const auto object = Resolve(parts);
  if (object && (statementCall || object->type == "PACKAGE" || object->type == "PROCEDURE" ||
                 object->type == "FUNCTION" || object->type == "TYPE"))
    result_.objects.push_back(*object);
  if (!object && statementCall && checkNames_ && !IsSuppliedPackageName(parts[0]))
    AddError(i, "PL/SQL: Statement ignored", i,
             "PLS-00201: identifier '" + UndeclaredName(parts) + "' must be declared", 201);
  return after;
}

std::optional<ObjectRef> ReferenceScanner::Resolve(const std::vector<std::string>& parts) {
  const auto known = resolved_.find(parts);
  if (known != resolved_.end())
    return known->second;
  std::vector<ObjectRef> synonyms;
  auto object = ResolveObjectName(catalog_, owner_, parts, &synonyms);
  if (object)
    result_.objects.insert(result_.objects.end(), synonyms.begin(), synonyms.end());
  resolved_[parts] = object;
  return object;
}

std::string ReferenceScanner::UndeclaredName(const std::vector<std::string>& parts) {
  if (parts.size() >= 2 && catalog_.UserExists(parts[0]))
    return parts[0] + "." + parts[1];
  return parts[0];
}

void ReferenceScanner::AddError(std::size_t trailerAt, const std::string& trailer, std::size_t at,
                                const std::string& message, int number) {
  const std::string text = text_.sql.substr(text_.textOffset);
  CompilationError ignored;
  LineAndColumn(text, tokens_[trailerAt].offset - text_.textOffset, ignored.line, ignored.position);
  ignored.text = trailer;
  CompilationError cause;
  LineAndColumn(text, tokens_[at].offset - text_.textOffset, cause.line, cause.position);
  cause.number = number;
  cause.text = message;
  result_.errors.push_back(ignored);
  result_.errors.push_back(cause);
}

UnitReferences ReferenceScanner::Scan() {
  for (std::size_t i = text_.begin; i < text_.end; ++i) {
    const SqlToken& token = tokens_[i];
    if (token.IsSymbol("(")) {
      ++depth_;
      continue;
    }
    if (token.IsSymbol(")") || token.IsSymbol(";")) {
      if (token.IsSymbol(")"))
        --depth_;
      if (token.IsSymbol(";") || depth_ < sqlDepth_)
        sqlDepth_ = -1;
      continue;
    }
    if (!IsName(token) ||
        (i > text_.begin && (tokens_[i - 1].IsSymbol(".") || tokens_[i - 1].IsSymbol("%"))))
      continue;
    if (StartsSqlStatement(token) && sqlDepth_ < 0) {
      sqlStart_ = i;
      sqlDepth_ = depth_;
      sqlReported_ = false;
    }
    if (IsTablePosition(i)) {
      ScanTables(i + 1);
      continue;
    }
    if (token.IsWord("LOOP") && depth_ <= sqlDepth_)
      sqlDepth_ = -1;  // FOR r IN (SELECT ...) LOOP
    i = ScanName(i) - 1;
  }
  return std::move(result_);
}

}  // namespace

std::set<std::string> DeclaredNames(const std::vector<SqlToken>& tokens, std::size_t begin,
                                    std::size_t end) {
  std::set<std::string> names;
  for (std::size_t i = begin; i + 1 < end; ++i) {
    const SqlToken& token = tokens[i];
    const SqlToken& next = tokens[i + 1];
    // WITH q AS (...), r AS (...)
    if (IsName(token) && next.IsWord("AS") && i + 2 < end && tokens[i + 2].IsSymbol("(")) {
      names.insert(NameOf(token));
      continue;
    }
    if (!IsName(token) || !IsName(next))
      continue;
    if (IsOneOf(token, {"PROCEDURE", "FUNCTION", "CURSOR", "TYPE", "SUBTYPE", "FOR", "FORALL"})) {
      names.insert(NameOf(next));
      continue;
    }
    // "name type ..." where a declaration or a parameter begins.
    const bool declarationStart = i == begin || tokens[i - 1].IsSymbol(";") ||
                                  tokens[i - 1].IsSymbol("(") || tokens[i - 1].IsSymbol(",") ||
                                  IsOneOf(tokens[i - 1], {"IS", "AS", "DECLARE"});
    if (declarationStart && !next.IsWord("AS"))
      names.insert(NameOf(token));
  }
  return names;
}

UnitReferences FindReferences(Catalog& catalog, const std::string& owner, const UnitText& text,
                              bool checkNames, const std::set<std::string>& declared) {
  std::set<std::string> names = DeclaredNames(text.tokens, text.begin, text.end);
  names.insert(declared.begin(), declared.end());
  return ReferenceScanner(catalog, owner, text, checkNames, std::move(names)).Scan();
}

}  // namespace sandbox
