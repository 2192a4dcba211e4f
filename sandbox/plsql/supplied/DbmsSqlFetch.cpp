// DBMS_SQL's columns and rows: DEFINE_COLUMN records what each column is
// fetched as, FETCH_ROWS steps the query, COLUMN_VALUE and VARIABLE_VALUE
// give a value in the type of the OUT argument (which must match,
// ORA-06562), DESCRIBE_COLUMNS fills a table of column records, and
// TO_REFCURSOR / TO_CURSOR_NUMBER hand an executed query between a cursor
// number and a cursor variable.
#include <algorithm>
#include <cmath>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/RunState.h"
#include "sandbox/plsql/supplied/DbmsSql.h"

namespace sandbox::plsql {

namespace {

PlError NotInSelectList() {
  return MakeError(1007, "variable not in select list");
}

PlValue DefineColumn(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  const long long position = DbmsSqlPositionArg(call, cursor, 1);
  SqlDefine define;
  define.kind = DbmsSqlKindOf(call, 2);
  define.size = DbmsSqlWholeArg(call, 3, 0);
  cursor.defines[position] = define;
  return {};
}

// The next row of an executed query into cursor.row; false at the end.
bool FetchRow(DbmsSqlCursor& cursor) {
  if (cursor.kind != DbmsSqlCursor::Kind::Query || !cursor.rows)
    throw MakeError(1002, "fetch out of sequence");
  if (cursor.ahead) {
    cursor.row = std::move(*cursor.ahead);
    cursor.ahead.reset();
    cursor.hasRow = true;
  } else {
    OraError error;
    cursor.hasRow = cursor.rows->Next(cursor.row, error);
    if (error.IsSet())
      throw FromOraError(error);
  }
  if (cursor.hasRow)
    ++cursor.fetched;
  return cursor.hasRow;
}

// A row, or as many as the array defines take (the first one's count).
PlValue FetchRows(SuppliedCall& call) {
  DbmsSqlSession& state = DbmsSqlStateOf(call);
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  long long wanted = 0;
  for (const auto& [position, define] : cursor.defines)
    if (wanted == 0)
      wanted = define.count;
  long long fetched = 0;
  cursor.batch.clear();
  while (fetched < std::max(wanted, 1LL) && FetchRow(cursor)) {
    ++fetched;
    if (wanted > 0)
      cursor.batch.push_back(cursor.row);
  }
  state.lastRowCount = cursor.fetched;
  return PlValue::Number(static_cast<long double>(fetched));
}

// EXECUTE, then the first row; with exact TRUE, ORA-01403 or ORA-01422
// unless exactly one row matches (the row fetched stays readable).
PlValue ExecuteAndFetch(SuppliedCall& call) {
  const SuppliedRoutine* execute = FindSupplied("DBMS_SQL", "EXECUTE");
  SuppliedCall executeCall = call;
  executeCall.routine = execute;
  execute->body(executeCall);
  const PlValue fetched = FetchRows(call);
  const bool exact = call.given[1] && !call.args[1].IsNull() && call.args[1].boolean();
  if (!exact)
    return fetched;
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  if (!cursor.hasRow)
    throw PredefinedError(1403);
  std::vector<Value> next;
  OraError error;
  if (cursor.rows->Next(next, error))
    cursor.ahead = std::move(next);
  if (error.IsSet())
    throw FromOraError(error);
  if (cursor.ahead)
    throw PredefinedError(1422);
  return fetched;
}

// The length Oracle reports of a value: bytes of text or RAW, else 0.
long long LengthOf(const PlValue& value, SqlValueKind kind) {
  if (value.IsNull() || kind == SqlValueKind::Number || kind == SqlValueKind::Date)
    return 0;
  const long long bytes = static_cast<long long>(value.text().size());
  return kind == SqlValueKind::Binary ? bytes / 2 : bytes;
}

// Text or RAW cut to the defined size, on a character boundary.
PlValue Truncated(const PlValue& value, SqlValueKind kind, long long size) {
  if (kind == SqlValueKind::Binary)
    return PlValue::Text(value.text().substr(0, static_cast<size_t>(size) * 2));
  size_t end = static_cast<size_t>(size);
  while (end > 0 && (static_cast<unsigned char>(value.text()[end]) & 0xC0) == 0x80)
    --end;
  return PlValue::Text(value.text().substr(0, end));
}

PlValue ColumnValue(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  const long long position = DbmsSqlPositionArg(call, cursor, 1);
  const SqlDefine& define = DbmsSqlDefineAt(cursor, position);
  if (define.count > 0)
    throw MakeError(6562, "type of out argument must match type of column or bind variable");
  const SqlValueKind kind = define.kind;
  DbmsSqlCheckOut(call, 2, kind);
  const auto at = static_cast<size_t>(position - 1);
  const Value fetched = cursor.hasRow && at < cursor.row.size() ? cursor.row[at] : Value();
  PlValue value = DbmsSqlValue(fetched, kind, call.session);
  const long long length = LengthOf(value, kind);
  const long long size = define.size;
  long long error = 0;
  if (size > 0 && length > size) {
    if (!call.given[3])
      throw MakeError(1406, "fetched column value was truncated");
    value = Truncated(value, kind, size);
    error = 1406;
  }
  call.args[2] = value;
  call.args[3] = PlValue::Number(static_cast<long double>(error));
  call.args[4] = PlValue::Number(static_cast<long double>(length));
  return {};
}

PlValue VariableValue(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  const std::string name = DbmsSqlBindName(call, 1);
  const auto bound = cursor.bindKinds.find(name);
  if (bound == cursor.bindKinds.end())
    throw MakeError(1006, "bind variable does not exist");
  DbmsSqlCheckOut(call, 2, bound->second);
  call.args[2] = DbmsSqlValue(cursor.binds.Get(name), bound->second, call.session);
  return {};
}

// DESCRIBE_COLUMNS' type codes: the stored types, with Oracle's codes for
// timestamps, intervals and rowids where a describe gives OCI's.
long long TypeCode(const ColumnInfo& column) {
  switch (column.dataType) {
    case 187:
      return 180;
    case 188:
      return 181;
    case 232:
      return 231;
    case 189:
      return 182;
    case 190:
      return 183;
    case 104:
      return 11;
    case 108:
      return 109;
    default:
      return column.dataType;
  }
}

bool IsCharacter(long long code) {
  return code == 1 || code == 8 || code == 96 || code == 112;
}

// One record of a DESC_TAB, DESC_TAB2 or DESC_TAB3 element type.
Variable Description(const ColumnInfo& column, const TypeSpec& record, const Session& session) {
  const long long code = TypeCode(column);
  const auto number = [](long long n) { return PlValue::Number(static_cast<long double>(n)); };
  std::vector<PlValue> values = {number(code),
                                 number(column.dataSize),
                                 PlValue::Text(column.name),
                                 number(static_cast<long long>(column.name.size())),
                                 PlValue(),
                                 number(0),
                                 number(column.precision),
                                 number(column.scale),
                                 number(IsCharacter(code) ? 873 : 0),
                                 number(IsCharacter(code) ? 1 : 0),
                                 PlValue::Boolean(column.nullable),
                                 PlValue(),
                                 number(0)};
  Variable var;
  for (size_t i = 0; i < record.fields.size() && i < values.size(); ++i) {
    Variable field;
    field.value = Coerce(values[i], record.fields[i].type, session);
    var.fields.push_back(std::move(field));
  }
  return var;
}

PlValue DescribeColumns(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  if (cursor.kind == DbmsSqlCursor::Kind::Unparsed)
    throw MakeError(1003, "no statement parsed");
  if (cursor.kind != DbmsSqlCursor::Kind::Query)
    throw MakeError(900, "invalid SQL statement");
  const TypeSpec* table = call.caller != nullptr ? call.caller->DeclaredType(2) : nullptr;
  if (table == nullptr || table->base != TypeSpec::Base::Collection || !table->element ||
      table->element->base != TypeSpec::Base::Record)
    throw MakeError(6550, "PLS-00306: wrong number or types of arguments in call to '" +
                              std::string(call.routine->name) + "'");
  auto collection = std::make_unique<Collection>();
  long long index = 0;
  for (const ColumnInfo& column : cursor.columns)
    collection->elements[CollectionKey{++index, {}}] =
        Description(column, *table->element, call.session);
  call.caller->Target(2).collection.Reset(std::move(collection));
  call.args[1] = PlValue::Number(static_cast<long double>(cursor.columns.size()));
  return {};
}

// The executed query of a cursor number, as a cursor variable; the number
// is closed.
PlValue ToRefCursor(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  if (cursor.kind != DbmsSqlCursor::Kind::Query || !cursor.rows || cursor.fetched > 0)
    throw PredefinedError(1001);
  call.cursorResult = std::make_shared<CursorState>();
  call.cursorResult->cursor = std::move(cursor.rows);
  call.cursorResult->isOpen = true;
  DbmsSqlStateOf(call).cursors.erase(static_cast<long long>(NumberOf(call.args[0])));
  return {};
}

// An open cursor variable's query as a new cursor number, executed and
// ready to describe, define and fetch; the variable can no longer fetch.
PlValue ToCursorNumber(SuppliedCall& call) {
  DbmsSqlSession& state = DbmsSqlStateOf(call);
  if (call.caller == nullptr)
    throw PredefinedError(1001);
  Variable& variable = call.caller->Target(0);
  if (!variable.cursor || !variable.cursor->isOpen || !variable.cursor->cursor)
    throw PredefinedError(1001);
  const PlValue number = FindSupplied("DBMS_SQL", "OPEN_CURSOR")->body(call);
  DbmsSqlCursor& cursor = *state.cursors.at(static_cast<long long>(number.number()));
  cursor.kind = DbmsSqlCursor::Kind::Query;
  cursor.rows = std::move(variable.cursor->cursor);
  cursor.columns = cursor.rows->Columns();
  cursor.functionCode = 4;
  variable.cursor->isOpen = false;
  return number;
}

}  // namespace

long long DbmsSqlPositionArg(const SuppliedCall& call, const DbmsSqlCursor& cursor, size_t i) {
  const long double position = call.args[i].IsNull() ? 0 : NumberOf(call.args[i]);
  if (cursor.kind != DbmsSqlCursor::Kind::Query || position != std::floor(position) ||
      position < 1 || position > static_cast<long double>(cursor.columns.size()))
    throw NotInSelectList();
  return static_cast<long long>(position);
}

SqlDefine& DbmsSqlDefineAt(DbmsSqlCursor& cursor, long long position) {
  const auto define = cursor.defines.find(position);
  if (define == cursor.defines.end())
    throw NotInSelectList();
  return define->second;
}

const std::vector<SuppliedRoutine>& DbmsSqlFetchRoutines() {
  static const std::vector<SuppliedRoutine> routines = [] {
    const SuppliedParam c{"C"};
    const SuppliedParam position{"POSITION"};
    std::vector<SuppliedRoutine> list = {
        {"DBMS_SQL", "FETCH_ROWS", true, {c}, FetchRows},
        {"DBMS_SQL", "EXECUTE_AND_FETCH", true, {c, {"EXACT", false, true}}, ExecuteAndFetch},
        {"DBMS_SQL",
         "TO_REFCURSOR",
         true,
         {{"CURSOR_NUMBER", true, false, true}},
         ToRefCursor,
         true},
        {"DBMS_SQL", "TO_CURSOR_NUMBER", true, {{"RC", true, false, true, true}}, ToCursorNumber},
    };
    for (const char* define : {"DEFINE_COLUMN", "DEFINE_COLUMN_CHAR", "DEFINE_COLUMN_RAW"})
      list.push_back({"DBMS_SQL",
                      define,
                      false,
                      {c, position, {"COLUMN"}, {"COLUMN_SIZE", false, true}},
                      DefineColumn});
    for (const char* value : {"COLUMN_VALUE", "COLUMN_VALUE_CHAR", "COLUMN_VALUE_RAW"})
      list.push_back({"DBMS_SQL",
                      value,
                      false,
                      {c,
                       position,
                       {"VALUE", true},
                       {"COLUMN_ERROR", true, true},
                       {"ACTUAL_LENGTH", true, true}},
                      ColumnValue});
    for (const char* value : {"VARIABLE_VALUE", "VARIABLE_VALUE_CHAR", "VARIABLE_VALUE_RAW"})
      list.push_back({"DBMS_SQL", value, false, {c, {"NAME"}, {"VALUE", true}}, VariableValue});
    for (const char* describe : {"DESCRIBE_COLUMNS", "DESCRIBE_COLUMNS2", "DESCRIBE_COLUMNS3"})
      list.push_back({"DBMS_SQL",
                      describe,
                      false,
                      {c, {"COL_CNT", true}, {"DESC_T", true, false, false, true}},
                      DescribeColumns});
    return list;
  }();
  return routines;
}

}  // namespace sandbox::plsql
