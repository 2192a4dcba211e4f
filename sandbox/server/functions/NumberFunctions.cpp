// Numeric functions: BITAND, REMAINDER, NANVL, WIDTH_BUCKET and TO_NUMBER
// with a format model.
#include <cctype>
#include <cmath>
#include <string>

#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/DateTimeValue.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {

namespace {

// BITAND(a, b) of the integer parts, negative numbers in two's complement.
void BitAnd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const auto a = NumberArg(ctx, argv[0]);
  const auto b = a ? NumberArg(ctx, argv[1]) : std::nullopt;
  if (!a || !b)
    return;
  if (std::fabs(*a) >= 9.2e18 || std::fabs(*b) >= 9.2e18)
    return ResultOraError(ctx, "ORA-01426: numeric overflow");
  ResultNumber(ctx, static_cast<double>(static_cast<long long>(*a) & static_cast<long long>(*b)));
}

// REMAINDER(m, n): m - n * N, N the integer nearest m / n (the even one at .5).
void Remainder(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const auto m = NumberArg(ctx, argv[0]);
  const auto n = m ? NumberArg(ctx, argv[1]) : std::nullopt;
  if (!m || !n)
    return;
  if (*n == 0)
    return ResultOraError(ctx, "ORA-01476: divisor is equal to zero");
  ResultNumber(ctx, *m - *n * std::nearbyint(*m / *n));
}

// NANVL(value, replacement): the replacement when value is NaN.
void Nanvl(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const bool nan = sqlite3_value_type(argv[0]) == SQLITE_TEXT && TextArg(argv[0]) == "Nan";
  sqlite3_result_value(ctx, nan ? argv[1] : argv[0]);
}

// A WIDTH_BUCKET operand: a number, or a datetime as its seconds.
std::optional<double> BucketOperand(sqlite3_context* ctx, sqlite3_value* value) {
  if (sqlite3_value_type(value) == SQLITE_TEXT)
    if (const auto parts = ReadTimestamp(TextArg(value)))
      return static_cast<double>(WallNanos(*parts) / 1000000) / 1000.0;
  return NumberArg(ctx, value);
}

// WIDTH_BUCKET(expr, low, high, buckets): 0 below the range, buckets + 1
// above it; the range may run downwards.
void WidthBucket(sqlite3_context* ctx, int, sqlite3_value** argv) {
  for (int i = 1; i < 4; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
      const std::string message = "ORA-30494: The argument [" + std::to_string(i + 1) +
                                  "] of WIDTH_BUCKET function is NULL or invalid.";
      return ResultOraError(ctx, message.c_str());
    }
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const auto value = BucketOperand(ctx, argv[0]);
  const auto low = value ? BucketOperand(ctx, argv[1]) : std::nullopt;
  const auto high = low ? BucketOperand(ctx, argv[2]) : std::nullopt;
  const auto buckets = high ? NumberArg(ctx, argv[3]) : std::nullopt;
  if (!buckets)
    return;
  const double count = std::trunc(*buckets);
  if (count < 1 || count > 2147483647.0)
    return ResultOraError(
        ctx, "ORA-30494: The argument [4] of WIDTH_BUCKET function is NULL or invalid.");
  if (*low == *high)
    return ResultOraError(
        ctx, "ORA-30494: The argument [3] of WIDTH_BUCKET function is NULL or invalid.");
  const bool upwards = *low < *high;
  if (upwards ? *value < *low : *value > *low)
    return sqlite3_result_int(ctx, 0);
  if (upwards ? *value >= *high : *value <= *high)
    return ResultNumber(ctx, count + 1);
  ResultNumber(ctx, std::floor((*value - *low) * count / (*high - *low)) + 1);
}

// The NLS parameter of TO_NUMBER: NLS_NUMERIC_CHARACTERS = ''dg'' and
// NLS_CURRENCY = ''text'' (NLS_ISO_CURRENCY is accepted and changes nothing).
bool ReadNumberSymbols(const std::string& text, NumberSymbols& symbols) {
  std::string upper;
  for (char c : text)
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::size_t at = 0;
  while ((at = upper.find_first_not_of(' ', at)) != std::string::npos) {
    const std::size_t equals = upper.find('=', at);
    const std::size_t open = equals == std::string::npos ? equals : upper.find('\'', equals);
    const std::size_t close = open == std::string::npos ? open : upper.find('\'', open + 1);
    if (close == std::string::npos)
      return false;
    std::string name = upper.substr(at, equals - at);
    while (!name.empty() && name.back() == ' ')
      name.pop_back();
    const std::string value = text.substr(open + 1, close - open - 1);
    if (name == "NLS_NUMERIC_CHARACTERS" && value.size() == 2 && value[0] != value[1]) {
      symbols.decimal = value[0];
      symbols.group = value[1];
    } else if (name == "NLS_CURRENCY") {
      symbols.currency = value;
    } else if (name != "NLS_ISO_CURRENCY") {
      return false;
    }
    at = close + 1;
  }
  return true;
}

void ToNumberWithModel(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  NumberSymbols symbols;
  if (argc > 2 && !ReadNumberSymbols(TextArg(argv[2]), symbols))
    return ResultOraError(ctx, "ORA-12702: invalid NLS parameter string used in SQL function");
  bool badModel = false;
  const auto text = ReadFormattedNumber(TextArg(argv[0]), TextArg(argv[1]), symbols, badModel);
  if (badModel)
    return ResultOraError(ctx, "ORA-01481: invalid number format model");
  if (!text)
    return ResultOraError(ctx, "ORA-01722: invalid number");
  ResultNumber(ctx, *ParseNumber(*text));
}

}  // namespace

void RegisterNumberFunctions(sqlite3* db, SqlFunctionContext* context) {
  static const FunctionEntry kFunctions[] = {
      {"bitand", 2, BitAnd, true},
      {"remainder", 2, Remainder, true},
      {"nanvl", 2, Nanvl, true},
      {"width_bucket", 4, WidthBucket, true},
      {"to_number", 2, ToNumberWithModel, true},
      {"to_number", 3, ToNumberWithModel, true},
  };
  RegisterFunctions(db, context, kFunctions);
}

}  // namespace sandbox
