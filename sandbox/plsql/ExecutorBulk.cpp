// Bulk binds at run time: BULK COLLECT fills collections from a query's
// rows; FORALL runs one statement for each index, counts the rows of each
// and of all, and with SAVE EXCEPTIONS runs on past failures.
#include <cmath>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/Executor.h"
#include "sandbox/plsql/ObjectJson.h"

namespace sandbox::plsql {

namespace {

constexpr long long kMaxForAllStatements = 10000000;

}  // namespace

std::vector<std::vector<PlValue>> Executor::ReadRows(Cursor& cursor, long long limit) {
  std::vector<std::vector<PlValue>> rows;
  std::vector<Value> row;
  OraError error;
  while ((limit < 0 || static_cast<long long>(rows.size()) < limit) && cursor.Next(row, error))
    rows.push_back(FromSqlRow(row));
  if (error.IsSet())
    throw FromOraError(error);
  sqlRowCount_ = static_cast<long long>(rows.size());
  sqlFound_ = rows.empty() ? 0 : 1;
  return rows;
}

void Executor::BulkStore(const std::vector<ExprPtr>& targets,
                         const std::vector<std::vector<PlValue>>& rows) {
  // Records take a column per field; objects, as scalars, one column each.
  const TypeSpec& first = *TypeOf(*targets[0])->element;
  const bool records =
      targets.size() == 1 && first.base == TypeSpec::Base::Record && first.sqlType.empty();
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
      } else if (!type.element->sqlType.empty()) {
        element = FromColumnValue(row[t], *type.element, session_);
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

std::vector<long long> Executor::ForAllIndices(const Stmt& stmt) {
  auto bound = [&](const Expr& expr) {
    const PlValue value = Eval(expr);
    if (value.IsNull())
      throw ValueError("NULL value for a FORALL bound");
    return std::round(NumberOf(value));
  };
  std::vector<long long> indices;
  auto add = [&](long double index) {
    // The index is a PLS_INTEGER.
    if (!(index >= -2147483648.0L && index <= 2147483647.0L))
      throw ValueError("numeric overflow");
    // Each statement's binds are held in memory, as EXTEND's elements are.
    if (static_cast<long long>(indices.size()) >= kMaxForAllStatements)
      throw MakeError(6500, "PL/SQL: storage error");
    indices.push_back(static_cast<long long>(index));
  };
  if (stmt.name.empty()) {
    const long double low = bound(*stmt.exprs[0]);
    const long double high = bound(*stmt.exprs[1]);
    for (long double i = low; i <= high; ++i)
      add(i);
    return indices;
  }
  const TemporariesMark mark(temporaries_);
  const Collection* collection = Locate(*stmt.exprs[0], false).collection.get();
  if (collection == nullptr)
    throw MakeError(6531, "Reference to uninitialized collection");
  if (stmt.name == "VALUES") {
    for (const auto& element : collection->elements) {
      if (element.second.value.IsNull())
        throw ValueError("NULL index table key value");
      add(std::round(NumberOf(element.second.value)));
    }
    return indices;
  }
  const bool between = stmt.exprs.size() == 3;
  const long double low = between ? bound(*stmt.exprs[1]) : 0;
  const long double high = between ? bound(*stmt.exprs[2]) : 0;
  for (const auto& element : collection->elements) {
    const auto index = static_cast<long double>(element.first.number);
    if (!between || (index >= low && index <= high))
      add(index);
  }
  return indices;
}

Executor::Flow Executor::ExecForAll(const Stmt& stmt) {
  const std::vector<long long> indices = ForAllIndices(stmt);
  ScopeGuard guard(scopes_);
  Declare(*stmt.loopVariable, PlValue());
  Variable& index = guard.scope().variables[stmt.loopVariable.get()];
  const Stmt& body = *stmt.bodies[0][0];
  // The binds of every DML statement are read before the first runs, as
  // Oracle binds whole arrays: a missing element stops the FORALL before
  // it changes a row. EXECUTE IMMEDIATE reads its own as it goes.
  const bool dml = body.kind == Stmt::Kind::Sql;
  std::vector<std::map<std::string, Value>> bound;
  if (dml) {
    bound.reserve(indices.size());
    for (long long i : indices) {
      index.value = PlValue::Number(static_cast<long double>(i));
      try {
        bound.push_back(BindValues(*body.sql));
      } catch (const PlError& e) {
        if (e.code != 1403)
          throw;
        throw MakeError(22160, "element at index [" + std::to_string(i) + "] does not exist");
      }
    }
  }
  Collection& rowCounts = *bulkRowCount_.collection.get();
  Collection& failures = *bulkExceptions_.collection.get();
  rowCounts = Collection();
  failures = Collection();
  const TypeSpec& failureType = BulkExceptionsDecl().type;
  // SQL%ROWCOUNT counts the rows of every statement that ran, also when
  // a later one fails.
  long long rows = 0;
  std::vector<std::vector<PlValue>> returned;
  for (size_t k = 0; k < indices.size(); ++k) {
    index.value = PlValue::Number(static_cast<long double>(indices[k]));
    long long changed = 0;
    try {
      if (dml)
        ExecDml(body, std::move(bound[k]), body.sql->bulkReturning ? &returned : nullptr);
      else
        ExecList(stmt.bodies[0]);
      changed = sqlRowCount_;
    } catch (PlError& e) {
      if (!stmt.saveExceptions) {
        sqlRowCount_ = rows;
        sqlFound_ = rows > 0 ? 1 : 0;
        if (e.places.empty())
          AddPlace(e, body.line);
        throw;
      }
      // ERROR_INDEX counts the statements run, whatever the indices.
      Variable failure = NewElement(failureType);
      failure.fields[0].value = PlValue::Number(static_cast<long double>(k + 1));
      failure.fields[1].value = PlValue::Number(e.code != 0 ? e.code : 6510);
      failures.elements[CollectionKey{++failures.size, {}}] = std::move(failure);
    }
    rowCounts.elements[CollectionKey{indices[k], {}}].value =
        PlValue::Number(static_cast<long double>(changed));
    rows += changed;
  }
  if (dml && body.sql->bulkReturning)
    BulkStore(body.sql->returningInto, returned);
  sqlRowCount_ = rows;
  sqlFound_ = rows > 0 ? 1 : 0;
  if (!failures.elements.empty())
    throw MakeError(24381, "error(s) in array DML");
  return Flow::Normal;
}

}  // namespace sandbox::plsql
