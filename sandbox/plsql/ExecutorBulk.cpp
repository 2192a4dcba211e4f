// Bulk binds at run time: BULK COLLECT fills collections from a query's
// rows; FORALL runs one statement for each index and counts the rows of all.
#include <cmath>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/Executor.h"

namespace sandbox::plsql {

std::vector<std::vector<PlValue>> Executor::ReadRows(Cursor& cursor, long long limit) {
  std::vector<std::vector<PlValue>> rows;
  std::vector<Value> row;
  OraError error;
  while ((limit < 0 || static_cast<long long>(rows.size()) < limit) && cursor.Next(row, error)) {
    rows.emplace_back();
    for (const Value& v : row)
      rows.back().push_back(FromSqlValue(v));
  }
  if (error.IsSet())
    throw FromOraError(error);
  sqlRowCount_ = static_cast<long long>(rows.size());
  sqlFound_ = rows.empty() ? 0 : 1;
  return rows;
}

void Executor::BulkStore(const std::vector<ExprPtr>& targets,
                         const std::vector<std::vector<PlValue>>& rows) {
  const bool records =
      targets.size() == 1 && TypeOf(*targets[0])->element->base == TypeSpec::Base::Record;
  for (size_t t = 0; t < targets.size(); ++t) {
    const TypeSpec& type = *TypeOf(*targets[t]);
    const auto count = static_cast<long long>(rows.size());
    if (type.collection == TypeSpec::Collection::Varray && count > type.limit) {
      throw MakeError(22165, "given index [" + std::to_string(type.limit + 1) +
                                 "] must be in the range of [1] to [" + std::to_string(type.limit) +
                                 "]");
    }
    auto collection = std::make_unique<Collection>();
    for (const auto& row : rows) {
      Variable element = NewElement(type);
      if (records) {
        const auto& fields = type.element->fields;
        for (size_t f = 0; f < fields.size() && f < row.size(); ++f)
          element.fields[f].value = Coerce(row[f], fields[f].type, session_);
      } else {
        element.value = Coerce(row[t], *type.element, session_);
      }
      collection->elements[CollectionKey{++collection->size, {}}] = std::move(element);
    }
    Locate(*targets[t], true).collection.Reset(std::move(collection));
  }
}

void Executor::ExecBulkFetch(const Stmt& stmt) {
  long long limit = -1;
  if (stmt.limit) {
    const PlValue value = Eval(*stmt.limit);
    const long double n = value.IsNull() ? 0 : std::round(NumberOf(value));
    if (n < 1 || n > 2147483647.0L)
      throw ValueError("invalid LIMIT value");
    limit = static_cast<long long>(n);
  }
  CursorState& state = CursorOf(stmt);
  std::vector<std::vector<PlValue>> rows;
  std::vector<PlValue> row;
  while ((limit < 0 || static_cast<long long>(rows.size()) < limit) && FetchRow(state, row))
    rows.push_back(row);
  // %NOTFOUND turns true only when the rows ran out before the limit.
  BulkStore(stmt.exprs, rows);
}

Executor::Flow Executor::ExecForAll(const Stmt& stmt) {
  // The indices of a collection are read before its statements run; a
  // range is stepped through as it goes.
  std::vector<long long> indices;
  long double low = 0, high = -1;
  if (stmt.name == "INDICES") {
    const Collection* collection = Locate(*stmt.exprs[0], false).collection.get();
    if (collection == nullptr)
      throw MakeError(6531, "Reference to uninitialized collection");
    for (const auto& element : collection->elements)
      indices.push_back(element.first.number);
  } else {
    const PlValue from = Eval(*stmt.exprs[0]);
    const PlValue to = Eval(*stmt.exprs[1]);
    if (from.IsNull() || to.IsNull())
      throw ValueError("NULL value for a FORALL bound");
    low = std::round(NumberOf(from));
    high = std::round(NumberOf(to));
  }
  ScopeGuard guard(scopes_);
  Declare(*stmt.loopVariable, PlValue());
  Variable& index = guard.scope().variables[stmt.loopVariable.get()];
  // SQL%ROWCOUNT counts the rows of every statement that ran, also when
  // a later one fails.
  long long rows = 0;
  auto runAt = [&](long double i) {
    index.value = PlValue::Number(i);
    try {
      ExecList(stmt.bodies[0]);
    } catch (const PlError&) {
      sqlRowCount_ = rows;
      sqlFound_ = rows > 0 ? 1 : 0;
      throw;
    }
    rows += sqlRowCount_;
  };
  for (long long i : indices)
    runAt(static_cast<long double>(i));
  for (long double i = low; i <= high; ++i)
    runAt(i);
  sqlRowCount_ = rows;
  sqlFound_ = rows > 0 ? 1 : 0;
  return Flow::Normal;
}

}  // namespace sandbox::plsql
