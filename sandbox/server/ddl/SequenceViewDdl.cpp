// Sequences and views.
#include "sandbox/server/ddl/SequenceViewDdl.h"

#include <cstdio>
#include <optional>

#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/CompilationErrors.h"
#include "sandbox/server/ddl/ObjectCompiler.h"
#include "sandbox/server/ddl/UnitReferences.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/sql/SqlTranslator.h"
#include "sandbox/server/values/NumberText.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

namespace {

// Oracle's limits of an ascending and a descending sequence.
const char* const kAscendingMax = "9999999999999999999999999999";
const char* const kDescendingMin = "-9999999999999999999999999999";
const char* const kOldAscendingMax = "999999999999999999999999999";
const char* const kOldDescendingMin = "-99999999999999999999999999";

// Sequence bounds are kept as exact decimal text: they exceed a double's digits.
std::optional<std::string> ReadNumberText(TokenStream& in, OraError& error) {
  std::string sign;
  if (in.AcceptSymbol("-"))
    sign = "-";
  else
    in.AcceptSymbol("+");
  const SqlToken& t = in.Peek();
  if (t.type != SqlToken::Type::Number || t.text.find_first_of(".eE") != std::string::npos) {
    error = {2017, "integer value required"};
    return std::nullopt;
  }
  in.Skip();
  const auto normal = NormaliseNumberText(sign + t.text);
  return normal;
}

long double AsNumber(const std::string& text) {
  return std::strtold(text.c_str(), nullptr);
}

}  // namespace

struct SequenceViewDdl::SequenceOptions {
  std::optional<std::string> increment, start, minimum, maximum, cache;
  std::optional<bool> cycle, order;
  bool noCache = false;
};

bool SequenceViewDdl::ReadSequenceOptions(SequenceOptions& options, bool creating,
                                          OraError& error) {
  while (!in_.AtEnd()) {
    std::optional<std::string>* target = nullptr;
    if (in_.AcceptWords("INCREMENT", "BY"))
      target = &options.increment;
    else if (in_.AcceptWords("START", "WITH")) {
      if (!creating) {
        error = {2283, "cannot alter starting sequence number"};
        return false;
      }
      target = &options.start;
    } else if (in_.AcceptWord("MAXVALUE"))
      target = &options.maximum;
    else if (in_.AcceptWord("MINVALUE"))
      target = &options.minimum;
    else if (in_.AcceptWord("CACHE"))
      target = &options.cache;
    else if (in_.AcceptWord("NOMAXVALUE"))
      options.maximum = "";
    else if (in_.AcceptWord("NOMINVALUE"))
      options.minimum = "";
    else if (in_.AcceptWord("NOCACHE"))
      options.noCache = true;
    else if (in_.AcceptWord("CYCLE"))
      options.cycle = true;
    else if (in_.AcceptWord("NOCYCLE"))
      options.cycle = false;
    else if (in_.AcceptWord("ORDER"))
      options.order = true;
    else if (in_.AcceptWord("NOORDER"))
      options.order = false;
    else {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    if (target) {
      const auto value = ReadNumberText(in_, error);
      if (!value)
        return false;
      *target = *value;
    }
  }
  return true;
}

bool SequenceViewDdl::CreateSequence(OraError& error) {
  in_.Skip();  // SEQUENCE
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error, 2277,
                             "invalid sequence name"))
    return false;
  Catalog& catalog = context_.catalog;
  if (!context_.RequireFor(owner, "CREATE SEQUENCE", error))
    return false;
  if (catalog.ObjectType(owner, name)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  SequenceOptions options;
  if (!ReadSequenceOptions(options, true, error))
    return false;
  const std::string increment = options.increment.value_or("1");
  if (increment == "0") {
    error = {4002, "INCREMENT must be a non-zero integer"};
    return false;
  }
  const bool ascending = AsNumber(increment) > 0;
  // Releases before 12c stop at 27 nines, later ones at 28.
  const bool oldRelease = catalog.Database().Release() != "19";
  const char* ascendingMax = oldRelease ? kOldAscendingMax : kAscendingMax;
  const char* descendingMin = oldRelease ? kOldDescendingMin : kDescendingMin;
  std::string minimum = options.minimum.value_or("");
  std::string maximum = options.maximum.value_or("");
  if (minimum.empty())
    minimum = ascending ? "1" : descendingMin;
  if (maximum.empty())
    maximum = ascending ? ascendingMax : "-1";
  const std::string start = options.start.value_or(ascending ? minimum : maximum);
  if (AsNumber(minimum) >= AsNumber(maximum)) {
    error = {4004, "MINVALUE must be less than MAXVALUE"};
    return false;
  }
  if (AsNumber(start) < AsNumber(minimum)) {
    error = {4006, "START WITH cannot be less than MINVALUE"};
    return false;
  }
  if (AsNumber(start) > AsNumber(maximum)) {
    error = {4008, "START WITH cannot be more than MAXVALUE"};
    return false;
  }
  const std::string cache = options.noCache ? "0" : options.cache.value_or("20");
  if (!options.noCache && AsNumber(cache) < 2) {
    error = {4010, "the number of values to CACHE must be greater than 1"};
    return false;
  }
  return catalog.AddObject(owner, name, "SEQUENCE", error) &&
         catalog.Exec(
             "INSERT INTO \"SYS.ALL_SEQUENCES\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {Value::Text(owner), Value::Text(name), Value::Number(minimum), Value::Number(maximum),
              Value::Number(increment), Value::Text(options.cycle.value_or(false) ? "Y" : "N"),
              Value::Text(options.order.value_or(false) ? "Y" : "N"), Value::Number(cache),
              Value::Number(start)},
             error) &&
         catalog.Exec("INSERT INTO \"SYS.SEQ$\" VALUES (?, ?, ?, NULL)",
                      {Value::Text(owner), Value::Text(name), Value::Number(start)}, error);
}

bool SequenceViewDdl::AlterSequence(OraError& error) {
  in_.Skip();  // SEQUENCE
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error, 2277,
                             "invalid sequence name"))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, name).value_or("") != "SEQUENCE") {
    error = {2289, "sequence does not exist"};
    return false;
  }
  SequenceOptions options;
  if (!ReadSequenceOptions(options, false, error))
    return false;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  auto set = [&](const char* column, const Value& value) {
    return catalog.Exec(std::string("UPDATE \"SYS.ALL_SEQUENCES\" SET ") + column +
                            " = ? WHERE SEQUENCE_OWNER = ? AND SEQUENCE_NAME = ?",
                        {value, key[0], key[1]}, error);
  };
  return (!options.increment || set("INCREMENT_BY", Value::Number(*options.increment))) &&
         (!options.minimum ||
          set("MIN_VALUE", Value::Number(options.minimum->empty() ? "1" : *options.minimum))) &&
         (!options.maximum ||
          set("MAX_VALUE",
              Value::Number(options.maximum->empty() ? kAscendingMax : *options.maximum))) &&
         (!options.cache || set("CACHE_SIZE", Value::Number(*options.cache))) &&
         (!options.noCache || set("CACHE_SIZE", Value::Integer(0))) &&
         (!options.cycle || set("CYCLE_FLAG", Value::Text(*options.cycle ? "Y" : "N"))) &&
         (!options.order || set("ORDER_FLAG", Value::Text(*options.order ? "Y" : "N")));
}

bool SequenceViewDdl::DropSequence(OraError& error) {
  in_.Skip();  // SEQUENCE
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error, 2277,
                             "invalid sequence name"))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, name).value_or("") != "SEQUENCE") {
    error = {2289, "sequence does not exist"};
    return false;
  }
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  return catalog.Exec(
             "DELETE FROM \"SYS.ALL_SEQUENCES\" WHERE SEQUENCE_OWNER = ? AND SEQUENCE_NAME = ?",
             key, error) &&
         catalog.Exec("DELETE FROM \"SYS.SEQ$\" WHERE OWNER = ? AND NAME = ?", key, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TAB_PRIVS\" WHERE TABLE_SCHEMA = ? AND TABLE_NAME = ?",
                      key, error) &&
         catalog.RemoveObject(owner, name, "SEQUENCE", error);
}

bool SequenceViewDdl::CreateView(OraError& error, OraError& warning) {
  const bool replace = in_.AcceptWords("OR", "REPLACE");
  const bool force = in_.AcceptWord("FORCE");
  if (!force)
    in_.AcceptWord("NOFORCE");
  in_.Skip();  // VIEW
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.Schema(), error))
    return false;
  std::vector<std::string> aliases;
  const std::size_t aliasBegin = in_.Position();
  if (in_.Peek().IsSymbol("(") && !in_.ReadNameList(aliases, error))
    return false;
  const std::string aliasText = context_.SourceText(aliasBegin, in_.Position());
  std::optional<ObjectViewSpec> objectView;
  if (aliases.empty() && in_.AcceptWord("OF")) {
    if (!ReadObjectView(objectView.emplace(), error))
      return false;
    aliases = objectView->attributes;
  }
  if (!in_.ExpectWord("AS", error))
    return false;
  const std::size_t queryBegin = in_.Position();
  std::size_t queryEnd = context_.tokens.size();
  // WITH READ ONLY / WITH CHECK OPTION close the query.
  for (std::size_t i = queryBegin; i + 1 < context_.tokens.size(); ++i)
    if (context_.tokens[i].IsWord("WITH") &&
        (context_.tokens[i + 1].IsWord("READ") || context_.tokens[i + 1].IsWord("CHECK"))) {
      queryEnd = i;
      break;
    }
  if (queryBegin >= queryEnd ||
      !(context_.tokens[queryBegin].IsWord("SELECT") ||
        context_.tokens[queryBegin].IsWord("WITH") || context_.tokens[queryBegin].IsSymbol("("))) {
    error = {928, "missing SELECT keyword"};
    return false;
  }
  Catalog& catalog = context_.catalog;
  if (!context_.RequireFor(owner, "CREATE VIEW", error))
    return false;
  const auto existing = catalog.ObjectType(owner, name);
  if (existing && (!replace || *existing != "VIEW")) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  std::string query;
  OraError queryError;
  if (!context_.TranslateExpression(queryBegin, queryEnd, query, queryError) && !force) {
    error = queryError;
    return false;
  }
  const std::string storage = QuoteSqliteName(StorageName(owner, name));
  std::string aliasSql;
  for (const std::string& alias : aliases)
    aliasSql += (aliasSql.empty() ? "(" : ", ") + QuoteSqliteName(alias);
  if (!aliasSql.empty())
    aliasSql += ")";
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  // Oracle keeps the query's text as written, up to the end of the statement.
  const std::string text = context_.sql.substr(context_.tokens[queryBegin].offset);
  const auto oldText =
      catalog.Rows("SELECT TEXT FROM \"SYS.ALL_VIEWS\" WHERE OWNER = ? AND VIEW_NAME = ?", key);
  const bool changed = !oldText.empty() && oldText[0][0] != text;
  if (existing &&
      (!catalog.Exec("DROP VIEW IF EXISTS " + storage, {}, error) ||
       !catalog.Exec("DELETE FROM \"SYS.ALL_VIEWS\" WHERE OWNER = ? AND VIEW_NAME = ?", key,
                     error) ||
       !catalog.Exec("DELETE FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                     error) ||
       !catalog.Exec("DELETE FROM \"SYS.VIEWCOL$\" WHERE OWNER = ? AND VIEW_NAME = ?", key,
                     error) ||
       (changed && !InvalidateDependants(catalog, owner, name, error))))
    return false;
  if (!queryError.IsSet() &&
      !catalog.ExecMapped("CREATE VIEW " + storage + aliasSql + " AS " + query, queryError) &&
      !force) {
    error = queryError;
    return false;
  }
  const UnitText unitText{context_.sql, context_.tokens, queryBegin, queryEnd,
                          context_.tokens[queryBegin].offset};
  const UnitReferences references = FindReferences(catalog, owner, unitText, false, {});
  // A view whose query fails is kept without columns, INVALID, with the
  // failure as its error (line 0, as Oracle lists a view's errors).
  std::vector<CompilationError> errors;
  if (queryError.IsSet()) {
    char code[16];
    std::snprintf(code, sizeof code, "ORA-%05d: ", queryError.code);
    errors.push_back({0, 0, queryError.code, code + queryError.message});
    warning = {24344, "success with compilation error"};
  }
  auto textValue = [&](const std::string* clause) {
    return clause && !clause->empty() ? Value::Text(*clause) : Value::Null();
  };
  auto lengthValue = [&](const std::string* clause) {
    return clause && !clause->empty() ? Value::Integer(static_cast<long long>(clause->size()))
                                      : Value::Null();
  };
  const std::string* typeText = objectView ? &objectView->typeText : nullptr;
  const std::string* oidText = objectView ? &objectView->oidText : nullptr;
  if (!catalog.Exec(
          "INSERT INTO \"SYS.ALL_VIEWS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
          {Value::Text(owner), Value::Text(name),
           Value::Integer(static_cast<long long>(text.size())), Value::Text(text),
           lengthValue(typeText), textValue(typeText), lengthValue(oidText), textValue(oidText),
           objectView ? Value::Text(objectView->typeOwner) : Value::Null(),
           objectView ? Value::Text(objectView->typeName) : Value::Null()},
          error) ||
      (!aliasText.empty() &&
       !catalog.Exec("INSERT INTO \"SYS.VIEWCOL$\" VALUES (?, ?, ?)",
                     {Value::Text(owner), Value::Text(name), Value::Text(aliasText)}, error)) ||
      !RecordUnitErrors(catalog, owner, name, "VIEW", errors, error) ||
      !RecordDependencies(catalog, {owner, name, "VIEW"}, references.objects, error))
    return false;
  const std::string status = errors.empty() ? "VALID" : "INVALID";
  if (errors.empty() && !DescribeViewColumns(owner, name, storage, error))
    return false;
  return existing ? catalog.TouchObject(owner, name, "VIEW", status, error)
                  : catalog.AddObject(owner, name, "VIEW", error, status);
}

bool SequenceViewDdl::DescribeViewColumns(const std::string& owner, const std::string& name,
                                          const std::string& storage, OraError& error) {
  Catalog& catalog = context_.catalog;
  // The view's columns as a query of it describes them.
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(catalog.Database().Handle(), ("SELECT * FROM " + storage).c_str(), -1,
                         &raw, nullptr) != SQLITE_OK) {
    error = MapSqliteError(sqlite3_errmsg(catalog.Database().Handle()));
    return false;
  }
  SqliteStatement statement(raw);
  for (int c = 0; c < sqlite3_column_count(raw); ++c) {
    const char* decl = sqlite3_column_decltype(raw, c);
    const ColumnInfo info = OracleType::Describe(decl ? decl : "VARCHAR2(4000)");
    const OracleType type = OracleType::FromDescription(info);
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_TAB_COLS\" (OWNER, TABLE_NAME, COLUMN_NAME, DATA_TYPE, "
            "DATA_LENGTH, DATA_PRECISION, DATA_SCALE, NULLABLE, COLUMN_ID, CHAR_LENGTH, CHAR_USED, "
            "INTERNAL_COLUMN_ID) VALUES (?, ?, ?, ?, ?, ?, ?, 'Y', ?8, ?9, ?10, ?8)",
            {Value::Text(owner), Value::Text(name), Value::Text(sqlite3_column_name(raw, c)),
             Value::Text(type.name), Value::Integer(type.length),
             type.precision ? Value::Integer(*type.precision) : Value::Null(),
             type.scale ? Value::Integer(*type.scale) : Value::Null(), Value::Integer(c + 1),
             Value::Integer(info.dataType == 1 || info.dataType == 96 ? info.dataSize : 0),
             info.dataType == 1 || info.dataType == 96 ? Value::Text("B") : Value::Null()},
            error))
      return false;
  }
  return true;
}

bool SequenceViewDdl::AlterView(OraError& error, OraError& warning) {
  in_.Skip();  // VIEW
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.Schema(), error))
    return false;
  if (context_.catalog.ObjectType(owner, name).value_or("") != "VIEW") {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (!in_.AcceptWord("COMPILE")) {
    error = {922, "missing or invalid option"};
    return false;
  }
  return ObjectCompiler(context_).Compile({owner, name, "VIEW"}, error, warning);
}

bool SequenceViewDdl::DropView(OraError& error) {
  in_.Skip();  // VIEW
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, name).value_or("") != "VIEW") {
    error = {942, "table or view does not exist"};
    return false;
  }
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  return catalog.Exec("DROP VIEW IF EXISTS " + QuoteSqliteName(StorageName(owner, name)), {},
                      error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_VIEWS\" WHERE OWNER = ? AND VIEW_NAME = ?", key,
                      error) &&
         catalog.Exec("DELETE FROM \"SYS.VIEWCOL$\" WHERE OWNER = ? AND VIEW_NAME = ?", key,
                      error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ?", key,
                      error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TAB_PRIVS\" WHERE TABLE_SCHEMA = ? AND TABLE_NAME = ?",
                      key, error) &&
         catalog.RemoveObject(owner, name, "VIEW", error);
}

}  // namespace sandbox
