// Extended rowid text of the ROWID pseudo-column.
#include "sandbox/server/values/RowIdText.h"

namespace sandbox {

namespace {

constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void AppendDigits(std::string& text, std::uint64_t value, int count) {
  for (int shift = (count - 1) * 6; shift >= 0; shift -= 6) {
    text += Digits[(value >> shift) & 0x3F];
  }
}

}  // namespace

// One data object and file for every table; the row number spreads over the
// block (32 bits) and the row in the block (16 bits).
std::string RowIdText(std::int64_t rowNumber) {
  const auto number = static_cast<std::uint64_t>(rowNumber);
  std::string text;
  AppendDigits(text, 1, 6);
  AppendDigits(text, 1, 3);
  AppendDigits(text, (number >> 16) & 0xFFFFFFFFu, 6);
  AppendDigits(text, number & 0xFFFFu, 3);
  return text;
}

std::int64_t RowNumberOf(const std::string& text) {
  if (text.size() != 18)
    return -1;
  std::uint64_t block = 0, row = 0;
  for (std::size_t i = 9; i < 18; ++i) {
    const char* digit = std::char_traits<char>::find(Digits, 64, text[i]);
    if (digit == nullptr)
      return -1;
    (i < 15 ? block : row) =
        ((i < 15 ? block : row) << 6) | static_cast<std::uint64_t>(digit - Digits);
  }
  if (block > 0xFFFFFFFFu || row > 0xFFFFu)
    return -1;
  return static_cast<std::int64_t>((block << 16) | row);
}

void RowIdFunction(sqlite3_context* context, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  const std::string text = RowIdText(sqlite3_value_int64(argv[0]));
  sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace sandbox
