// DBMS_SQL: statements whose text, binds and columns a block knows only at
// run time. A cursor number stands for a statement the session parsed; DDL
// runs at PARSE, other statements at EXECUTE with the values bound by
// name, and a query's rows are fetched one at a time. Cursor numbers are
// random and a number the session never opened denies it the package, as
// Oracle guards against guessed numbers.
#include "sandbox/plsql/supplied/DbmsSql.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/Lexer.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/StoredUnit.h"

namespace sandbox::plsql {

namespace {

PlError Denied() {
  return MakeError(29471, "DBMS_SQL access denied");
}

// The distinct placeholders of text, upper case without the colon, in the
// order they first appear.
std::vector<std::string> PlaceholdersOf(const std::string& text) {
  std::vector<std::string> names;
  std::vector<Token> tokens;
  LexError lexError;
  if (!Tokenize(text, tokens, lexError))
    return names;
  for (const Token& t : tokens)
    if (t.kind == Token::Kind::Bind && std::find(names.begin(), names.end(), t.text) == names.end())
      names.push_back(t.text);
  return names;
}

DbmsSqlCursor::Kind KindOfStatement(const StatementKind& kind) {
  switch (kind.statementType) {
    case 1:
      return DbmsSqlCursor::Kind::Query;
    case 2:
    case 3:
    case 4:
    case 10:
    case 16:
    case 17:
    case 21:
      return DbmsSqlCursor::Kind::Dml;
    case 8:
    case 9:
      return DbmsSqlCursor::Kind::Block;
    default:
      return kind.sqlFunctionCode == 56 ? DbmsSqlCursor::Kind::Dml : DbmsSqlCursor::Kind::Ddl;
  }
}

// Where Oracle puts the error of a statement that failed to parse: at the
// identifier an ORA-00904 names, at the first table after FROM, JOIN,
// INTO or UPDATE the session cannot see for an ORA-00942; the start
// otherwise.
long long ErrorPosition(Session& session, const std::string& text, const OraError& error) {
  std::vector<Token> tokens;
  LexError lexError;
  if ((error.code != 904 && error.code != 942) || !Tokenize(text, tokens, lexError))
    return 0;
  const bool unknownColumn = error.code == 904 && !error.message.empty() && error.message[0] == '"';
  const std::string column =
      unknownColumn ? error.message.substr(1, error.message.find('"', 1) - 1) : std::string();
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& t = tokens[i];
    if (unknownColumn && t.kind == Token::Kind::Identifier && t.text == column)
      return static_cast<long long>(t.offset);
    if (error.code != 942 || !t.IsAny({"FROM", "JOIN", "INTO", "UPDATE"}) ||
        i + 1 >= tokens.size() || tokens[i + 1].kind != Token::Kind::Identifier)
      continue;
    std::string table = tokens[i + 1].text;
    if (i + 3 < tokens.size() && tokens[i + 2].Is(".") &&
        tokens[i + 3].kind == Token::Kind::Identifier)
      table += "." + tokens[i + 3].text;
    if (session.DescribeTable(table).empty())
      return static_cast<long long>(tokens[i + 1].offset);
  }
  return 0;
}

void ParseText(SuppliedCall& call, DbmsSqlCursor& cursor, const std::string& text) {
  DbmsSqlSession& state = DbmsSqlStateOf(call);
  cursor = DbmsSqlCursor{};
  state.lastErrorPosition = 0;
  if (text.find_first_not_of(" \t\r\n") == std::string::npos)
    throw MakeError(900, "invalid SQL statement");
  const StatementKind kind = ClassifyStatement(text);
  cursor.text = text;
  cursor.functionCode = kind.sqlFunctionCode;
  cursor.kind = KindOfStatement(kind);
  OraError error;
  if (cursor.kind == DbmsSqlCursor::Kind::Ddl) {
    // DDL runs as it is parsed; EXECUTE has nothing left to do.
    if (!PlaceholdersOf(text).empty())
      throw MakeError(1027, "bind variables not allowed for data definition operations");
    DynamicBinds binds;
    if (call.caller != nullptr)
      call.caller->Nest(binds);
    std::uint64_t rows = 0;
    OraError warning;
    if (!call.session.Execute(text, binds, rows, error, warning)) {
      cursor.kind = DbmsSqlCursor::Kind::Unparsed;
      throw FromOraError(error);
    }
    return;
  }
  cursor.placeholders = PlaceholdersOf(text);
  if (cursor.kind != DbmsSqlCursor::Kind::Query)
    return;
  DynamicBinds nulls;
  for (const std::string& name : cursor.placeholders)
    nulls.values[name] = Value();
  cursor.columns = call.session.DescribeQuery(text, nulls, error);
  if (error.IsSet()) {
    cursor.kind = DbmsSqlCursor::Kind::Unparsed;
    state.lastErrorPosition = ErrorPosition(call.session, text, error);
    throw FromOraError(error);
  }
}

PlValue OpenCursor(SuppliedCall& call) {
  DbmsSqlSession& state = DbmsSqlStateOf(call);
  std::uniform_int_distribution<long long> numbers(1, 2147483647);
  long long number = numbers(state.numbers);
  while (state.cursors.count(number) != 0)
    number = numbers(state.numbers);
  state.cursors[number] = std::make_shared<DbmsSqlCursor>();
  return PlValue::Number(static_cast<long double>(number));
}

PlValue IsOpen(SuppliedCall& call) {
  const DbmsSqlSession& state = DbmsSqlStateOf(call);
  const PlValue& c = call.args[0];
  if (c.IsNull())
    return PlValue::Boolean(false);
  const long double n = NumberOf(c);
  return PlValue::Boolean(n == std::floor(n) && n >= 1 && n <= 2147483647 &&
                          state.cursors.count(static_cast<long long>(n)) != 0);
}

PlValue CloseCursor(SuppliedCall& call) {
  DbmsSqlCursorArg(call);
  DbmsSqlStateOf(call).cursors.erase(static_cast<long long>(NumberOf(call.args[0])));
  call.args[0] = PlValue();
  return {};
}

PlValue Parse(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  ParseText(call, cursor, SuppliedText(call, 1));
  return {};
}

// PARSE of a table of lines: elements lb to ub, each followed by a line feed
// when lfflg is TRUE.
PlValue ParseLines(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  if (call.caller == nullptr)
    throw MakeError(6550, "PLS-00306: wrong number or types of arguments in call to 'PARSE'");
  const Variable& lines = call.caller->Target(1);
  const bool bounded = !call.args[2].IsNull() && !call.args[3].IsNull();
  const long double lb = bounded ? NumberOf(call.args[2]) : 0;
  const long double ub = bounded ? NumberOf(call.args[3]) : -1;
  const bool lineFeeds = !call.args[4].IsNull() && call.args[4].boolean();
  std::string text;
  if (const Collection* collection = lines.collection.get()) {
    for (const auto& [key, element] : collection->elements) {
      if (key.number < lb || key.number > ub)
        continue;
      if (!element.value.IsNull())
        text += TextOf(element.value, call.session);
      if (lineFeeds)
        text += "\n";
    }
  }
  ParseText(call, cursor, text);
  return {};
}

PlValue BindVariable(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  const std::string name = DbmsSqlPlaceholderArg(call, cursor, 1);
  const SqlValueKind kind = DbmsSqlKindOf(call, 2);
  cursor.binds.values[name] =
      kind == SqlValueKind::Binary ? BinaryToSql(call.args[2]) : ToSqlValue(call.args[2]);
  cursor.bindKinds[name] = kind;
  cursor.arrays.erase(name);
  return {};
}

// Runs DML or a block once, or once for each element of its bound arrays
// (as many times as the shortest has elements); the rows it processed.
std::uint64_t RunStatement(SuppliedCall& call, DbmsSqlCursor& cursor) {
  size_t runs = 1;
  if (!cursor.arrays.empty()) {
    runs = cursor.arrays.begin()->second.values.size();
    for (const auto& [name, array] : cursor.arrays)
      runs = std::min(runs, array.values.size());
  }
  std::uint64_t total = 0;
  for (size_t i = 0; i < runs; ++i) {
    for (const auto& [name, array] : cursor.arrays)
      cursor.binds.values[name] = array.values[i];
    std::uint64_t rows = 0;
    OraError error, warning;
    if (!call.session.Execute(cursor.text, cursor.binds, rows, error, warning))
      throw cursor.kind == DbmsSqlCursor::Kind::Block ? ErrorOfDynamicBlock(error)
                                                      : FromOraError(error);
    total += rows;
  }
  return total;
}

PlValue Execute(SuppliedCall& call) {
  DbmsSqlSession& state = DbmsSqlStateOf(call);
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  if (cursor.kind == DbmsSqlCursor::Kind::Unparsed)
    throw MakeError(1003, "no statement parsed");
  for (const std::string& name : cursor.placeholders)
    if (!cursor.binds.Has(name))
      throw MakeError(1008, "not all variables bound");
  state.lastFunctionCode = cursor.functionCode;
  state.lastRowCount = 0;
  cursor.rows.reset();
  cursor.ahead.reset();
  cursor.hasRow = false;
  cursor.fetched = 0;
  cursor.batch.clear();
  for (auto& [position, define] : cursor.defines)
    define.next = define.lowerBound;
  OraError error;
  if (cursor.kind == DbmsSqlCursor::Kind::Query) {
    // A query runs once, with the first element of each bound array.
    for (const auto& [name, array] : cursor.arrays)
      cursor.binds.values[name] = array.values.empty() ? Value() : array.values.front();
    cursor.rows = call.session.OpenQuery(cursor.text, cursor.binds, error);
    if (!cursor.rows)
      throw FromOraError(error);
    return PlValue::Number(0);
  }
  if (cursor.kind == DbmsSqlCursor::Kind::Ddl)
    return PlValue::Number(0);
  if (call.caller != nullptr)
    call.caller->Nest(cursor.binds);
  const std::uint64_t rows = RunStatement(call, cursor);
  if (cursor.kind == DbmsSqlCursor::Kind::Block)
    return PlValue::Number(1);
  state.lastRowCount = static_cast<long long>(rows);
  return PlValue::Number(static_cast<long double>(rows));
}

PlValue LastRowCount(SuppliedCall& call) {
  return PlValue::Number(static_cast<long double>(DbmsSqlStateOf(call).lastRowCount));
}

PlValue LastErrorPosition(SuppliedCall& call) {
  return PlValue::Number(static_cast<long double>(DbmsSqlStateOf(call).lastErrorPosition));
}

PlValue LastSqlFunctionCode(SuppliedCall& call) {
  return PlValue::Number(DbmsSqlStateOf(call).lastFunctionCode);
}

// The package's constants: language flags and the column type codes that
// DESCRIBE_COLUMNS gives.
PlValue Constant(SuppliedCall& call) {
  static const std::map<std::string, long double> kValues = {{"V6", 0},
                                                             {"NATIVE", 1},
                                                             {"V7", 2},
                                                             {"FOREIGN_SYNTAX", 4294967295.0L},
                                                             {"VARCHAR2_TYPE", 1},
                                                             {"NUMBER_TYPE", 2},
                                                             {"LONG_TYPE", 8},
                                                             {"ROWID_TYPE", 11},
                                                             {"DATE_TYPE", 12},
                                                             {"RAW_TYPE", 23},
                                                             {"LONG_RAW_TYPE", 24},
                                                             {"CHAR_TYPE", 96},
                                                             {"BINARY_FLOAT_TYPE", 100},
                                                             {"BINARY_DOUBLE_TYPE", 101},
                                                             {"USER_DEFINED_TYPE", 109},
                                                             {"REF_TYPE", 111},
                                                             {"CLOB_TYPE", 112},
                                                             {"BLOB_TYPE", 113},
                                                             {"BFILE_TYPE", 114},
                                                             {"TIMESTAMP_TYPE", 180},
                                                             {"TIMESTAMP_WITH_TZ_TYPE", 181},
                                                             {"INTERVAL_YEAR_TO_MONTH_TYPE", 182},
                                                             {"INTERVAL_DAY_TO_SECOND_TYPE", 183},
                                                             {"UROWID_TYPE", 208},
                                                             {"TIMESTAMP_WITH_LOCAL_TZ_TYPE", 231}};
  return PlValue::Number(kValues.at(call.routine->name));
}

std::vector<SuppliedRoutine> CursorRoutines() {
  const SuppliedParam c{"C"};
  std::vector<SuppliedRoutine> routines = {
      {"DBMS_SQL", "OPEN_CURSOR", true, {{"SECURITY_LEVEL", false, true}}, OpenCursor},
      {"DBMS_SQL", "IS_OPEN", true, {c}, IsOpen},
      {"DBMS_SQL", "CLOSE_CURSOR", false, {{"C", true, false, true}}, CloseCursor},
      {"DBMS_SQL", "PARSE", false, {c, {"STATEMENT"}, {"LANGUAGE_FLAG"}}, Parse},
      {"DBMS_SQL",
       "PARSE",
       false,
       {c, {"STATEMENT", false, false, false, true}, {"LB"}, {"UB"}, {"LFFLG"}, {"LANGUAGE_FLAG"}},
       ParseLines},
      {"DBMS_SQL", "EXECUTE", true, {c}, Execute},
      {"DBMS_SQL", "LAST_ROW_COUNT", true, {}, LastRowCount},
      {"DBMS_SQL", "LAST_ERROR_POSITION", true, {}, LastErrorPosition},
      {"DBMS_SQL", "LAST_SQL_FUNCTION_CODE", true, {}, LastSqlFunctionCode},
  };
  for (const char* bind : {"BIND_VARIABLE", "BIND_VARIABLE_CHAR", "BIND_VARIABLE_RAW"})
    routines.push_back({"DBMS_SQL",
                        bind,
                        false,
                        {c, {"NAME"}, {"VALUE"}, {"OUT_VALUE_SIZE", false, true}},
                        BindVariable});
  for (const char* name : {"V6",
                           "NATIVE",
                           "V7",
                           "FOREIGN_SYNTAX",
                           "VARCHAR2_TYPE",
                           "NUMBER_TYPE",
                           "LONG_TYPE",
                           "ROWID_TYPE",
                           "DATE_TYPE",
                           "RAW_TYPE",
                           "LONG_RAW_TYPE",
                           "CHAR_TYPE",
                           "BINARY_FLOAT_TYPE",
                           "BINARY_DOUBLE_TYPE",
                           "USER_DEFINED_TYPE",
                           "REF_TYPE",
                           "CLOB_TYPE",
                           "BLOB_TYPE",
                           "BFILE_TYPE",
                           "TIMESTAMP_TYPE",
                           "TIMESTAMP_WITH_TZ_TYPE",
                           "INTERVAL_YEAR_TO_MONTH_TYPE",
                           "INTERVAL_DAY_TO_SECOND_TYPE",
                           "UROWID_TYPE",
                           "TIMESTAMP_WITH_LOCAL_TZ_TYPE"})
    routines.push_back({"DBMS_SQL", name, true, {}, Constant});
  return routines;
}

}  // namespace

DbmsSqlSession& DbmsSqlStateOf(SuppliedCall& call) {
  StoredUnits* code = call.session.StoredCode();
  if (code == nullptr || code->DbmsSqlCursors().denied)
    throw Denied();
  return code->DbmsSqlCursors();
}

std::shared_ptr<DbmsSqlCursor> DbmsSqlCursorArg(SuppliedCall& call, size_t i) {
  DbmsSqlSession& state = DbmsSqlStateOf(call);
  const PlValue& c = call.args[i];
  long double n = 0;
  if (!c.IsNull() && c.kind() != PlValue::Kind::Boolean)
    n = NumberOf(c);
  const auto found = n == std::floor(n) && n >= 1 && n <= 2147483647
                         ? state.cursors.find(static_cast<long long>(n))
                         : state.cursors.end();
  if (found == state.cursors.end()) {
    state.denied = true;
    throw Denied();
  }
  return found->second;
}

long long DbmsSqlWholeArg(const SuppliedCall& call, size_t i, long long fallback) {
  if (!call.given[i] || call.args[i].IsNull())
    return fallback;
  const long double n = NumberOf(call.args[i]);
  if (n != std::floor(n) || std::fabs(n) > 2147483647.0L)
    throw ValueError("numeric overflow");
  return static_cast<long long>(n);
}

SqlValueKind DbmsSqlKindOfType(const TypeSpec& type, const SuppliedCall& call) {
  if (type.base == TypeSpec::Base::Boolean || type.IsComposite())
    throw MakeError(6550, "PLS-00306: wrong number or types of arguments in call to '" +
                              std::string(call.routine->name) + "'");
  if (type.binary)
    return SqlValueKind::Binary;
  return type.base == TypeSpec::Base::Number ? SqlValueKind::Number
         : type.base == TypeSpec::Base::Date ? SqlValueKind::Date
                                             : SqlValueKind::Text;
}

SqlValueKind DbmsSqlKindOf(const SuppliedCall& call, size_t i) {
  if (const TypeSpec* type = call.caller != nullptr ? call.caller->DeclaredType(i) : nullptr)
    return DbmsSqlKindOfType(*type, call);
  TypeSpec type;
  type.binary = call.binary[i];
  switch (call.args[i].kind()) {
    case PlValue::Kind::Number:
      type.base = TypeSpec::Base::Number;
      break;
    case PlValue::Kind::Date:
      type.base = TypeSpec::Base::Date;
      break;
    case PlValue::Kind::Boolean:
      type.base = TypeSpec::Base::Boolean;
      break;
    default:
      break;
  }
  return DbmsSqlKindOfType(type, call);
}

std::string DbmsSqlPlaceholderArg(const SuppliedCall& call, const DbmsSqlCursor& cursor, size_t i) {
  const std::string name = DbmsSqlBindName(call, i);
  if (std::find(cursor.placeholders.begin(), cursor.placeholders.end(), name) ==
      cursor.placeholders.end())
    throw MakeError(1006, "bind variable does not exist");
  return name;
}

std::string DbmsSqlBindName(const SuppliedCall& call, size_t i) {
  std::string name = SuppliedText(call, i);
  if (!name.empty() && name[0] == ':')
    name.erase(0, 1);
  for (char& c : name)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

void DbmsSqlCheckOut(const SuppliedCall& call, size_t i, SqlValueKind kind) {
  if (call.caller == nullptr || call.caller->DeclaredType(i) == nullptr)
    return;
  if (DbmsSqlKindOf(call, i) != kind)
    throw MakeError(6562, "type of out argument must match type of column or bind variable");
}

PlValue DbmsSqlValue(const Value& value, SqlValueKind kind, const Session& session) {
  if (value.IsNull())
    return {};
  switch (kind) {
    case SqlValueKind::Number:
      return PlValue::Number(NumberOf(FromSqlValue(value)));
    case SqlValueKind::Date:
      return DateOf(FromSqlValue(value));
    case SqlValueKind::Binary:
      return value.kind == Value::Kind::Binary ? BinaryFromSql(value)
                                               : HexToRaw(FromSqlValue(value));
    case SqlValueKind::Text:
      break;
  }
  return PlValue::Text(session.ToText(value));
}

const std::vector<SuppliedRoutine>& DbmsSqlRoutines() {
  static const std::vector<SuppliedRoutine> routines = [] {
    std::vector<SuppliedRoutine> all = CursorRoutines();
    for (const auto* more : {&DbmsSqlFetchRoutines(), &DbmsSqlArrayRoutines()})
      all.insert(all.end(), more->begin(), more->end());
    return all;
  }();
  return routines;
}

}  // namespace sandbox::plsql
