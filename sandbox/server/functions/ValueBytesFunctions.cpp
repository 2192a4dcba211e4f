// Functions over the bytes Oracle keeps a value in: DUMP, VSIZE, ORA_HASH
// and STANDARD_HASH. NUMBER is base-100 digits behind an exponent byte, DATE
// seven bytes, timestamps and intervals their fixed layouts, character text
// its UTF-8 bytes and RAW its bytes.
#include <openssl/evp.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/DateTimeValue.h"
#include "sandbox/server/values/DecimalNumber.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {

namespace {

struct StoredBytes {
  int type = 1;  // Oracle's type code: 1 VARCHAR2, 2 NUMBER, 12 DATE, 23 RAW, 180 ...
  std::string bytes;
};

std::string DateBytes(const DateParts& d) {
  const char bytes[] = {static_cast<char>(d.year / 100 + 100),
                        static_cast<char>(d.year % 100 + 100),
                        static_cast<char>(d.month),
                        static_cast<char>(d.day),
                        static_cast<char>(d.hour + 1),
                        static_cast<char>(d.minute + 1),
                        static_cast<char>(d.second + 1)};
  return std::string(bytes, sizeof bytes);
}

std::string BigEndian(unsigned long long value, int size) {
  std::string bytes;
  for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
    bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

StoredBytes TemporalBytes(const std::string& text, TemporalKind kind) {
  constexpr long long kBias = 1LL << 31;
  if (kind == TemporalKind::YearMonth) {
    const long long months = *ReadYearMonth(text);
    return {182, BigEndian(static_cast<unsigned long long>(months / 12 + kBias), 4) +
                     static_cast<char>(months % 12 + 60)};
  }
  if (kind == TemporalKind::DaySecond) {
    const WideNanos nanos = *ReadDaySecond(text);
    const WideNanos perDay = WideNanos(86400) * 1000000000;
    const long long days = static_cast<long long>(nanos / perDay);
    long long rest = static_cast<long long>(nanos % perDay);
    const long long fraction = rest % 1000000000;
    rest /= 1000000000;
    return {183, BigEndian(static_cast<unsigned long long>(days + kBias), 4) +
                     static_cast<char>(rest / 3600 + 60) + static_cast<char>(rest / 60 % 60 + 60) +
                     static_cast<char>(rest % 60 + 60) +
                     BigEndian(static_cast<unsigned long long>(fraction + kBias), 4)};
  }
  DateParts parts = *ReadTimestamp(text);
  if (kind == TemporalKind::Date)
    return {12, DateBytes(parts)};
  if (kind == TemporalKind::Timestamp)
    return {180, DateBytes(parts) +
                     (parts.nanos ? BigEndian(static_cast<unsigned long long>(parts.nanos), 4)
                                  : std::string())};
  const int offset = ZoneOffsetMinutes(parts.zone);
  const DateParts utc = InZone(parts, "+00:00");
  return {181, DateBytes(utc) + BigEndian(static_cast<unsigned long long>(utc.nanos), 4) +
                   static_cast<char>(offset / 60 + 20) + static_cast<char>(offset % 60 + 60)};
}

StoredBytes BytesOf(sqlite3_value* value) {
  const int type = sqlite3_value_type(value);
  if (type == SQLITE_BLOB) {
    const auto* data = static_cast<const char*>(sqlite3_value_blob(value));
    return {23,
            std::string(data ? data : "", static_cast<std::size_t>(sqlite3_value_bytes(value)))};
  }
  const std::string text = TextArg(value);
  if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
    if (const auto number = DecimalNumber::Parse(text))
      return {2, number->OracleBytes()};
  if (const TemporalKind kind = TemporalKindOf(text); kind != TemporalKind::None)
    return TemporalBytes(text, kind);
  return {1, text};
}

// DUMP(expr [, format [, start [, length]]]): "Typ=2 Len=2: 193,2". Format 8
// is octal, 16 hexadecimal, 17 characters, else decimal; adding 1000 names
// the character set of character values.
void Dump(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return ResultText(ctx, "NULL");
  for (int i = 1; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
      return sqlite3_result_null(ctx);
  const StoredBytes stored = BytesOf(argv[0]);
  long long format = 10, start = 1, length = static_cast<long long>(stored.bytes.size());
  for (int i = 1; i < argc; ++i) {
    const auto n = NumberArg(ctx, argv[i]);
    if (!n)
      return;
    // Far beyond any value's length: kept in range for the conversion.
    const double bounded = std::clamp(std::trunc(*n), -1e12, 1e12);
    (i == 1 ? format : i == 2 ? start : length) = static_cast<long long>(bounded);
  }
  const long long size = static_cast<long long>(stored.bytes.size());
  if (start < 0)
    start = size + start + 1;
  start = std::max(start, 1LL);
  const int base = static_cast<int>(format % 1000);
  std::string text = "Typ=" + std::to_string(stored.type) + " Len=" + std::to_string(size);
  if (format >= 1000 && stored.type == 1)
    text += " CharacterSet=AL32UTF8";
  text += ": ";
  for (long long i = start - 1, shown = 0; i < size && shown < length; ++i, ++shown) {
    const auto byte = static_cast<unsigned char>(stored.bytes[static_cast<std::size_t>(i)]);
    char piece[8];
    if (base == 17 && byte >= 0x20 && byte < 0x7F)
      std::snprintf(piece, sizeof piece, "%c", byte);
    else
      std::snprintf(piece, sizeof piece,
                    base == 8                  ? "%o"
                    : base == 16 || base == 17 ? "%x"
                                               : "%u",
                    byte);
    text += (shown ? "," : "") + std::string(piece);
  }
  ResultText(ctx, text);
}

void Vsize(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(BytesOf(argv[0]).bytes.size()));
}

// ORA_HASH(expr [, max_bucket [, seed]]): a bucket from 0 to max_bucket that
// depends only on the value and the seed.
void OraHash(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  double limits[2] = {4294967295.0, 0};
  for (int i = 1; i < argc; ++i) {
    const auto n = NumberArg(ctx, argv[i]);
    if (!n)
      return;
    if (*n < 0 || *n > 4294967295.0) {
      const std::string message = "ORA-01428: argument '" + TextArg(argv[i]) + "' is out of range";
      return ResultOraError(ctx, message.c_str());
    }
    limits[i - 1] = std::trunc(*n);
  }
  unsigned long long hash = 1469598103934665603ULL ^ static_cast<unsigned long long>(limits[1]);
  for (const char c : BytesOf(argv[0]).bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  hash ^= hash >> 29;
  sqlite3_result_int64(
      ctx, static_cast<sqlite3_int64>(hash % (static_cast<unsigned long long>(limits[0]) + 1)));
}

struct DigestContextDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

// STANDARD_HASH(expr [, 'SHA1' | 'SHA256' | 'SHA384' | 'SHA512' | 'MD5']) as RAW.
void StandardHash(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  std::string method = argc > 1 ? TextArg(argv[1]) : "SHA1";
  for (char& c : method)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const EVP_MD* digest = method == "SHA1"     ? EVP_sha1()
                         : method == "SHA256" ? EVP_sha256()
                         : method == "SHA384" ? EVP_sha384()
                         : method == "SHA512" ? EVP_sha512()
                         : method == "MD5"    ? EVP_md5()
                                              : nullptr;
  if (digest == nullptr)
    return ResultOraError(ctx, "ORA-01760: illegal argument for function");
  const std::string bytes = BytesOf(argv[0]).bytes;
  std::unique_ptr<EVP_MD_CTX, DigestContextDeleter> context(EVP_MD_CTX_new());
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (!context || EVP_DigestInit_ex(context.get(), digest, nullptr) != 1 ||
      EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
      EVP_DigestFinal_ex(context.get(), out, &size) != 1)
    return ResultOraError(ctx, "ORA-01760: illegal argument for function");
  sqlite3_result_blob(ctx, out, static_cast<int>(size), SQLITE_TRANSIENT);
}

}  // namespace

void RegisterValueBytesFunctions(sqlite3* db, SqlFunctionContext* context) {
  static const struct {
    const char* name;
    int lowest, highest;
    void (*function)(sqlite3_context*, int, sqlite3_value**);
  } kFunctions[] = {
      {"dump", 1, 4, Dump},
      {"vsize", 1, 1, Vsize},
      {"ora_hash", 1, 3, OraHash},
      {"standard_hash", 1, 2, StandardHash},
  };
  for (const auto& entry : kFunctions)
    for (int count = entry.lowest; count <= entry.highest; ++count)
      sqlite3_create_function_v2(db, entry.name, count, SQLITE_UTF8 | SQLITE_DETERMINISTIC, context,
                                 entry.function, nullptr, nullptr, nullptr);
}

}  // namespace sandbox
