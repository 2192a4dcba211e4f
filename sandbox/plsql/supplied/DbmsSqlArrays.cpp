// DBMS_SQL's arrays: BIND_ARRAY runs a DML statement once for each element
// of its tables, DEFINE_ARRAY has a fetch give up to cnt rows, and
// COLUMN_VALUE appends them to a table from lower_bound on, one fetch after
// another. Each takes the package's tables (NUMBER_TABLE, VARCHAR2_TABLE,
// DATE_TABLE, CLOB_TABLE, BLOB_TABLE) or tables of the same elements.

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/RunState.h"
#include "sandbox/plsql/supplied/DbmsSql.h"

namespace sandbox::plsql {

namespace {

PlError WrongArguments(const SuppliedCall& call) {
  return MakeError(6550, "PLS-00306: wrong number or types of arguments in call to '" +
                             std::string(call.routine->name) + "'");
}

// The element type of the table argument i (integer keys only).
const TypeSpec& ElementType(const SuppliedCall& call, size_t i) {
  const TypeSpec* type = call.caller != nullptr ? call.caller->DeclaredType(i) : nullptr;
  if (type == nullptr || type->base != TypeSpec::Base::Collection || !type->element ||
      type->textKeys)
    throw WrongArguments(call);
  return *type->element;
}

PlValue BindArray(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  const std::string name = DbmsSqlPlaceholderArg(call, cursor, 1);
  SqlArray array;
  array.kind = DbmsSqlKindOfType(ElementType(call, 2), call);
  const long long low = DbmsSqlWholeArg(call, 3, -2147483648LL),
                  high = DbmsSqlWholeArg(call, 4, 2147483647LL);
  if (const Collection* table = call.caller->Target(2).collection.get()) {
    for (const auto& [key, element] : table->elements) {
      if (key.number < low || key.number > high)
        continue;
      array.values.push_back(array.kind == SqlValueKind::Binary ? BinaryToSql(element.value)
                                                                : ToSqlValue(element.value));
    }
  }
  cursor.bindKinds[name] = array.kind;
  cursor.binds.values[name] = Value();
  cursor.arrays[name] = std::move(array);
  return {};
}

PlValue DefineArray(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  const long long position = DbmsSqlPositionArg(call, cursor, 1);
  SqlDefine define;
  define.kind = DbmsSqlKindOfType(ElementType(call, 2), call);
  define.count = DbmsSqlWholeArg(call, 3, 0);
  if (define.count < 1)
    throw MakeError(29253, "Invalid count argument passed to procedure dbms_sql.define_array");
  define.lowerBound = define.next = DbmsSqlWholeArg(call, 4, 1);
  cursor.defines[position] = define;
  return {};
}

// The rows the last fetch gave, appended to the table after those before.
PlValue ColumnValues(SuppliedCall& call) {
  const auto held = DbmsSqlCursorArg(call);
  DbmsSqlCursor& cursor = *held;
  const long long position = DbmsSqlPositionArg(call, cursor, 1);
  SqlDefine& define = DbmsSqlDefineAt(cursor, position);
  const TypeSpec& element = ElementType(call, 2);
  if (define.count == 0 || DbmsSqlKindOfType(element, call) != define.kind)
    throw MakeError(6562, "type of out argument must match type of column or bind variable");
  Variable& table = call.caller->Target(2);
  if (table.collection.get() == nullptr)
    table.collection.Reset(std::make_unique<Collection>());
  Collection& collection = *table.collection.get();
  const auto at = static_cast<size_t>(position - 1);
  for (const std::vector<Value>& row : cursor.batch) {
    Variable value;
    value.value =
        Coerce(DbmsSqlValue(at < row.size() ? row[at] : Value(), define.kind, call.session),
               element, call.session);
    collection.elements[CollectionKey{define.next++, {}}] = std::move(value);
  }
  return {};
}

}  // namespace

const std::vector<SuppliedRoutine>& DbmsSqlArrayRoutines() {
  static const std::vector<SuppliedRoutine> routines = [] {
    const SuppliedParam c{"C"};
    std::vector<SuppliedRoutine> list;
    // Oracle names the table parameter by its element type.
    for (const char* table : {"N_TAB", "C_TAB", "D_TAB", "CL_TAB", "BL_TAB"}) {
      const SuppliedParam byReference{table, false, false, false, true};
      list.push_back({"DBMS_SQL",
                      "BIND_ARRAY",
                      false,
                      {c, {"NAME"}, byReference, {"INDEX1", false, true}, {"INDEX2", false, true}},
                      BindArray});
      list.push_back({"DBMS_SQL",
                      "DEFINE_ARRAY",
                      false,
                      {c, {"POSITION"}, byReference, {"CNT"}, {"LOWER_BOUND"}},
                      DefineArray});
      list.push_back({"DBMS_SQL",
                      "COLUMN_VALUE",
                      false,
                      {c, {"POSITION"}, {table, true, false, false, true}},
                      ColumnValues});
    }
    return list;
  }();
  return routines;
}

}  // namespace sandbox::plsql
