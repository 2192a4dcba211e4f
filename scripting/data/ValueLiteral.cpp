// Oracle literals of fetched values.
#include "scripting/data/ValueLiteral.h"

#include <algorithm>
#include <cctype>

#include "scripting/data/ToolLines.h"

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) {
      return false;
    }
  }
  return true;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '\'';
  AppendDoubling(out, text, '\'');
  out += '\'';
}

// to_date('value','format'): the value in the format the session gave it.
void AppendConversion(std::string& out, const char* function, std::string_view value,
                      const std::string& format) {
  out += function;
  out += '(';
  AppendQuoted(out, value);
  if (!format.empty()) {
    out += ',';
    AppendQuoted(out, format);
  }
  out += ')';
}

// Number text as the client gives it: sign, digits, a point, an exponent.
bool IsNumberText(std::string_view text) {
  std::size_t at = 0;
  const auto digits = [&] {
    const std::size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
      ++at;
    }
    return at - start;
  };
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
    ++at;
  }
  std::size_t mantissa = digits();
  if (at < text.size() && text[at] == '.') {
    ++at;
    mantissa += digits();
  }
  if (mantissa == 0) {
    return false;
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
      ++at;
    }
    if (digits() == 0) {
      return false;
    }
  }
  return at == text.size();
}

// A value written without quotes must be a number: any other text (which no
// sound client gives for a numeric column) is quoted rather than let loose
// in the statement.
void AppendNumber(std::string& out, std::string_view value) {
  if (IsNumberText(value)) {
    out += value;
  } else {
    AppendTextLiteral(out, value);
  }
}

// A binary floating value: the client spells the infinities and NaN as words,
// which only the named constants turn back into values.
void AppendBinaryFloating(std::string& out, std::string_view value, bool isFloat) {
  const char* const prefix = isFloat ? "binary_float_" : "binary_double_";
  std::string_view magnitude = value;
  const bool negative = !magnitude.empty() && magnitude.front() == '-';
  if (negative || (!magnitude.empty() && magnitude.front() == '+')) {
    magnitude.remove_prefix(1);
  }
  if (EqualsIgnoringCase(magnitude, "inf") || EqualsIgnoringCase(magnitude, "infinity")) {
    out += negative ? "-" : "";
    out += prefix;
    out += "infinity";
  } else if (EqualsIgnoringCase(magnitude, "nan")) {
    out += prefix;
    out += "nan";
  } else {
    AppendNumber(out, value);
  }
}

}  // namespace

void AppendDoubling(std::string& out, std::string_view text, char c) {
  std::size_t start = 0;
  for (std::size_t at = text.find(c); at != std::string_view::npos; at = text.find(c, at + 1)) {
    out.append(text.substr(start, at + 1 - start));
    out += c;
    start = at + 1;
  }
  out.append(text.substr(start));
}

std::string QuotedLiteral(std::string_view text) {
  std::string out;
  AppendQuoted(out, text);
  return out;
}

namespace {

bool ContinuesCharacter(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Whether text's quoted literal stands in a script as it is: its first line
// follows the statement's text and its last is followed by the closing quote.
bool StandsAsItIs(std::string_view text) {
  if (text.size() > LongestTextPiece) {
    return false;
  }
  std::size_t begin = 0;
  for (std::size_t end = text.find('\n');; end = text.find('\n', begin)) {
    const bool last = end == std::string_view::npos;
    const std::string line =
        std::string(begin == 0 ? "x" : "") +
        std::string(text.substr(begin, last ? text.size() - begin : end - begin)) +
        (last ? "'" : "");
    if (ToolTakesLine(line, true)) {
      return false;
    }
    if (last) {
      return true;
    }
    begin = end + 1;
  }
}

}  // namespace

std::size_t TextPieceEnd(std::string_view text, std::size_t begin, std::size_t longest) {
  if (text.size() - begin <= longest) {
    return text.size();
  }
  std::size_t end = begin + longest;
  while (end > begin + 1 && ContinuesCharacter(text[end])) {
    --end;
  }
  return end;
}

void AppendTextLiteral(std::string& out, std::string_view text) {
  if (StandsAsItIs(text)) {
    AppendQuoted(out, text);
    return;
  }
  bool first = true;
  const auto term = [&](std::string_view piece, bool quoted) {
    out += first ? "" : "\r\n|| ";
    first = false;
    if (quoted) {
      AppendQuoted(out, piece);
    } else {
      out += piece;
    }
  };
  std::size_t begin = 0;
  for (;;) {
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    const std::string_view line = text.substr(begin, end - begin);
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t pieceEnd = TextPieceEnd(line, at);
      term(line.substr(at, pieceEnd - at), true);
      at = pieceEnd;
    }
    if (end == text.size()) {
      return;
    }
    term("CHR(10)", false);
    begin = end + 1;
  }
}

bool IsLobType(int typeCode) {
  return typeCode >= ValueType::Clob && typeCode <= ValueType::Bfile;
}

void AppendValueLiteral(std::string& out, std::string_view value, int typeCode,
                        const LiteralFormats& formats) {
  if (value.empty()) {
    out += "NULL";
    return;
  }
  switch (typeCode) {
    case ValueType::Char:
    case 5:  // null-terminated string
    case ValueType::Long:
    case 9:  // VARCHAR
    case ValueType::RowId:
    case 94:  // LONG VARCHAR
    case ValueType::Char96:
    case 97:  // CHARZ
    case ValueType::RowIdDescriptor:
    case ValueType::Clob:
    case 155:  // OCIString
    case ValueType::UniversalRowId:
      AppendTextLiteral(out, value);
      break;
    case ValueType::Date:
    case 156:  // ANSI DATE
    case 184:  // ANSI DATE descriptor
      AppendConversion(out, "to_date", value, formats.Date);
      break;
    case ValueType::Timestamp:
    case ValueType::TimestampWithLocalZone:
      AppendConversion(out, "to_timestamp", value, formats.Timestamp);
      break;
    case ValueType::TimestampWithZone:
      AppendConversion(out, "to_timestamp_tz", value, formats.TimestampWithZone);
      break;
    case ValueType::IntervalYearToMonth:
      AppendConversion(out, "to_yminterval", value, std::string());
      break;
    case ValueType::IntervalDayToSecond:
      AppendConversion(out, "to_dsinterval", value, std::string());
      break;
    case ValueType::Raw:
    case ValueType::LongRaw:
    case 95:  // LONG VARRAW
      AppendConversion(out, "hextoraw", value, std::string());
      break;
    case ValueType::BinaryFloat:
    case ValueType::NativeFloat:
      AppendBinaryFloating(out, value, true);
      break;
    case ValueType::BinaryDouble:
    case ValueType::NativeDouble:
      AppendBinaryFloating(out, value, false);
      break;
    case ValueType::Blob:
      // The contents are not scripted; an empty LOB keeps the row insertable.
      out += "EMPTY_BLOB()";
      break;
    case ValueType::Bfile:
      // A file locator has no literal.
      out += "NULL";
      break;
    default:
      AppendNumber(out, value);
      break;
  }
}

std::string FormatValue(std::string_view value, int typeCode, const LiteralFormats& formats) {
  std::string out;
  AppendValueLiteral(out, value, typeCode, formats);
  return out;
}
