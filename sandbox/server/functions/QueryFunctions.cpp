// Functions behind parts of Oracle's query language that SQLite lacks:
// ROWNUM's row counting, the LISTAGG aggregate, and UTL_RAW.CAST_TO_RAW.
#include <algorithm>
#include <memory>
#include <vector>

#include "sandbox/server/functions/OracleFunctions.h"

namespace sandbox {

namespace {

// ora_rownum_candidate(block): the number the row being filtered would take.
void RownumCandidate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_result_int64(ctx, ContextOf(ctx).rownums[sqlite3_value_int(argv[0])] + 1);
}

// ora_rownum_accept(block, conditions): true when the row passes its block's
// conditions, and then it takes the next number. ora_rownum_accept(block)
// numbers every row it sees (ROWNUM outside a query).
void RownumAccept(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (argc > 1 &&
      (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_double(argv[1]) == 0)) {
    sqlite3_result_int(ctx, 0);
    return;
  }
  const long long number = ++ContextOf(ctx).rownums[sqlite3_value_int(argv[0])];
  if (argc > 1)
    sqlite3_result_int(ctx, 1);
  else
    sqlite3_result_int64(ctx, number);
}

// ora_rownum_current(block): the number of the row accepted last.
void RownumCurrent(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_result_int64(ctx, ContextOf(ctx).rownums[sqlite3_value_int(argv[0])]);
}

void CastToRaw(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::string text = TextArg(argv[0]);
  sqlite3_result_blob(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// One ordering key of a LISTAGG row: numbers before text compare as numbers.
struct Key {
  bool null = true;
  bool numeric = false;
  double number = 0;
  std::string text;
  bool descending = false;
};

struct ListRow {
  std::string value;
  std::vector<Key> keys;
  std::size_t arrival = 0;
};

struct ListAggregate {
  std::vector<ListRow> rows;
  std::string separator;
};

// Oracle sorts NULLs last in ascending order and first in descending order.
bool Before(const ListRow& a, const ListRow& b) {
  for (std::size_t i = 0; i < a.keys.size() && i < b.keys.size(); ++i) {
    const Key& x = a.keys[i];
    const Key& y = b.keys[i];
    if (x.null != y.null)
      return x.descending ? x.null : y.null;
    if (x.null)
      continue;
    int order = 0;
    if (x.numeric && y.numeric)
      order = x.number < y.number ? -1 : x.number > y.number ? 1 : 0;
    else
      order = x.text.compare(y.text);
    if (order != 0)
      return x.descending ? order > 0 : order < 0;
  }
  return a.arrival < b.arrival;
}

ListAggregate*& AggregateOf(sqlite3_context* ctx, bool create) {
  static ListAggregate* none = nullptr;
  auto** slot = static_cast<ListAggregate**>(
      sqlite3_aggregate_context(ctx, create ? static_cast<int>(sizeof(ListAggregate*)) : 0));
  return slot ? *slot : none;
}

// ora_listagg(value, separator, direction, key, direction, key ...)
void ListaggStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  ListAggregate*& aggregate = AggregateOf(ctx, true);
  if (aggregate == nullptr)
    aggregate = new ListAggregate;  // owned by the context, deleted in ListaggFinal
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return;
  ListRow row;
  row.value = TextArg(argv[0]);
  row.arrival = aggregate->rows.size();
  if (aggregate->rows.empty())
    aggregate->separator = TextArg(argv[1]);
  for (int i = 2; i + 1 < argc; i += 2) {
    Key key;
    key.descending = TextArg(argv[i]) == "D";
    const int type = sqlite3_value_type(argv[i + 1]);
    key.null = type == SQLITE_NULL;
    key.numeric = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    key.number = sqlite3_value_double(argv[i + 1]);
    key.text = TextArg(argv[i + 1]);
    row.keys.push_back(std::move(key));
  }
  aggregate->rows.push_back(std::move(row));
}

void ListaggFinal(sqlite3_context* ctx) {
  std::unique_ptr<ListAggregate> aggregate(AggregateOf(ctx, false));
  if (!aggregate) {
    sqlite3_result_null(ctx);
    return;
  }
  std::stable_sort(aggregate->rows.begin(), aggregate->rows.end(), Before);
  std::string text;
  for (std::size_t i = 0; i < aggregate->rows.size(); ++i)
    text += (i ? aggregate->separator : std::string()) + aggregate->rows[i].value;
  if (text.size() > 4000) {
    ResultOraError(ctx, "ORA-01489: result of string concatenation is too long");
    return;
  }
  ResultText(ctx, text);
}

}  // namespace

void RegisterQueryFunctions(sqlite3* db, SqlFunctionContext* context) {
  const int flags = SQLITE_UTF8;
  sqlite3_create_function_v2(db, "ora_rownum_candidate", 1, flags, context, RownumCandidate,
                             nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "ora_rownum_accept", -1, flags, context, RownumAccept, nullptr,
                             nullptr, nullptr);
  sqlite3_create_function_v2(db, "ora_rownum_current", 1, flags, context, RownumCurrent, nullptr,
                             nullptr, nullptr);
  sqlite3_create_function_v2(db, "utl_raw_cast_to_raw", 1, flags | SQLITE_DETERMINISTIC, context,
                             CastToRaw, nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "ora_listagg", -1, flags, context, nullptr, ListaggStep,
                             ListaggFinal, nullptr);
}

}  // namespace sandbox
