// Mapping of Oracle column types to SQLite declarations and OCI descriptions.
#include "sandbox/server/values/OracleType.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

std::optional<OracleType> OracleType::FromDeclaration(const std::string& upperName,
                                                      std::optional<int> first,
                                                      std::optional<int> second,
                                                      bool charSemantics) {
  OracleType type;
  const std::string& n = upperName;
  if (n == "VARCHAR2" || n == "VARCHAR" || n == "NVARCHAR2" || n == "CHAR" || n == "NCHAR" ||
      n == "CHARACTER") {
    type.name = n == "VARCHAR" ? "VARCHAR2" : (n == "CHARACTER" ? "CHAR" : n);
    const bool isChar = type.name == "CHAR" || type.name == "NCHAR";
    if (!first && !isChar)
      return std::nullopt;  // VARCHAR2 needs a length (ORA-00906)
    // AL32UTF8 takes up to 4 bytes a character, AL16UTF16 2; the byte
    // length stops at the type's limit.
    const bool national = type.name.front() == 'N';
    const int limit = isChar ? 2000 : 4000;
    type.charLength = first.value_or(1);
    type.charUsed = national || charSemantics ? 'C' : 'B';
    const int perCharacter = national ? 2 : (charSemantics ? 4 : 1);
    if (type.charLength < 1 || type.charLength > limit / (national ? 2 : 1))
      return std::nullopt;
    type.length = std::min(type.charLength * perCharacter, limit);
  } else if (n == "NUMBER" || n == "NUMERIC" || n == "DECIMAL" || n == "DEC") {
    type.name = "NUMBER";
    type.length = 22;
    type.precision = first;
    type.scale = first ? std::optional<int>(second.value_or(0)) : second;
    if (n != "NUMBER" && !first)
      type.scale = 0;
  } else if (n == "INTEGER" || n == "INT" || n == "SMALLINT") {
    type.name = "NUMBER";
    type.length = 22;
    type.scale = 0;
  } else if (n == "FLOAT" || n == "REAL" || n == "DOUBLE PRECISION") {
    type.name = "FLOAT";
    type.length = 22;
    type.precision = n == "REAL" ? 63 : first.value_or(126);
  } else if (n == "DATE") {
    type.name = "DATE";
    type.length = 7;
  } else if (n == "LONG" || n == "LONG RAW") {
    type.name = n;
    type.length = 0;
  } else if (n == "RAW") {
    if (!first || *first < 1 || *first > 2000)
      return std::nullopt;
    type.name = "RAW";
    type.length = *first;
  } else if (n == "CLOB" || n == "NCLOB" || n == "BLOB") {
    type.name = n;
    type.length = 4000;
  } else if (n == "BFILE") {
    type.name = n;
    type.length = 530;
  } else if (n.rfind("TIMESTAMP", 0) == 0) {
    const int digits = first.value_or(6);
    type.name = "TIMESTAMP(" + std::to_string(digits) + ")" + n.substr(9);
    type.length = n == "TIMESTAMP WITH TIME ZONE" ? 13 : 11;
    type.scale = digits;
  } else if (n == "INTERVAL YEAR TO MONTH") {
    type.precision = first.value_or(2);
    type.scale = 0;
    type.name = "INTERVAL YEAR(" + std::to_string(*type.precision) + ") TO MONTH";
    type.length = 5;
  } else if (n == "INTERVAL DAY TO SECOND") {
    type.precision = first.value_or(2);
    type.scale = second.value_or(6);
    type.name = "INTERVAL DAY(" + std::to_string(*type.precision) + ") TO SECOND(" +
                std::to_string(*type.scale) + ")";
    type.length = 11;
  } else if (n == "BINARY_FLOAT" || n == "BINARY_DOUBLE") {
    type.name = n;
    type.length = n == "BINARY_FLOAT" ? 4 : 8;
  } else if (n == "ROWID") {
    type.name = n;
    type.length = 10;
  } else {
    return std::nullopt;
  }
  return type;
}

std::string OracleType::SqliteDeclaration() const {
  if (IsUserDefined())
    return "TEXT USER_TYPE";
  if (name == "NUMBER" && scale == 0 && !precision)
    return "INTEGER";
  std::string decl = name;
  // A CHAR counted in characters keeps their number after its bytes: its
  // values are padded to that many characters.
  if (name == "CHAR" && charUsed == 'C')
    decl += "(" + std::to_string(length) + "," + std::to_string(charLength) + ")";
  else if (name == "VARCHAR2" || name == "CHAR" || name == "NVARCHAR2" || name == "NCHAR" ||
           name == "RAW")
    decl += "(" + std::to_string(name.front() == 'N' ? length / 2 : length) + ")";
  if (name == "NUMBER" && scale && !precision)
    decl += "(38," + std::to_string(*scale) + ")";
  if ((name == "NUMBER" || name == "FLOAT") && precision)
    decl += "(" + std::to_string(*precision) +
            (name == "NUMBER" ? "," + std::to_string(scale.value_or(0)) : "") + ")";
  // The timestamp and interval kinds get one-word names that SQLite's type
  // affinity rules leave alone ("INTERVAL" would read as an integer type).
  const std::string fraction = scale ? std::to_string(*scale) : std::string("6");
  if (name.rfind("TIMESTAMP", 0) == 0) {
    const char* kind = name.find("LOCAL") != std::string::npos  ? "TIMESTAMP_LTZ("
                       : name.find("ZONE") != std::string::npos ? "TIMESTAMP_TZ("
                                                                : "TIMESTAMP(";
    return "TEXT " + std::string(kind) + fraction + ")";
  }
  if (name.rfind("INTERVAL YEAR", 0) == 0)
    return "TEXT YM_SPAN(" + std::to_string(precision.value_or(2)) + ")";
  if (name.rfind("INTERVAL DAY", 0) == 0)
    return "TEXT DS_SPAN(" + std::to_string(precision.value_or(2)) + "," + fraction + ")";
  if (name == "LONG" || name == "BFILE" || name == "ROWID")
    return "TEXT " + decl;
  if (name == "RAW" || name == "LONG RAW")
    return "BLOB " + decl;
  return decl;
}

std::string OracleType::ValueCheck(const std::string& owner, const std::string& table,
                                   const std::string& column) const {
  if (IsUserDefined())
    return {};
  std::string kind;
  if (name == "VARCHAR2" || name == "CHAR" || name == "NVARCHAR2" || name == "NCHAR")
    kind = "C";
  else if (name == "RAW")
    kind = "R";
  else if (name == "NUMBER" || name == "FLOAT")
    kind = "N";
  else if (name == "DATE")
    kind = "D";
  else if (const char stored = StoredKind(); stored != 0)
    kind = std::string(1, stored);
  else
    return {};
  auto quoted = [](const std::string& text) {
    std::string out = "'";
    for (char c : text)
      out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
  };
  // Character semantics limit characters, not bytes.
  if (kind == "C" && charUsed == 'C')
    kind = "CH";
  const int size = kind == "CH" ? charLength : length;
  int digits = name == "NUMBER" && precision ? *precision : 0;
  if (kind == "T" || kind == "Z" || kind == "L")
    digits = scale.value_or(6);
  else if (kind == "Y" || kind == "S")
    digits = precision.value_or(2);
  return "ora_check_value(\"" + column + "\", '" + kind + "', " + std::to_string(size) + ", " +
         std::to_string(digits) + ", " + std::to_string(scale.value_or(0)) + ", " + quoted(owner) +
         ", " + quoted(table) + ", " + quoted(column) + ")";
}

char OracleType::StoredKind() const {
  if (IsUserDefined())
    return 0;
  if (name.rfind("TIMESTAMP", 0) == 0)
    return name.find("LOCAL") != std::string::npos  ? 'L'
           : name.find("ZONE") != std::string::npos ? 'Z'
                                                    : 'T';
  if (name.rfind("INTERVAL YEAR", 0) == 0)
    return 'Y';
  if (name.rfind("INTERVAL DAY", 0) == 0)
    return 'S';
  if (name == "BINARY_FLOAT")
    return 'F';
  if (name == "BINARY_DOUBLE")
    return 'B';
  return 0;
}

std::string OracleType::StoredForm(const std::string& valueSql) const {
  if (name == "DATE")
    return "ora_date_in(" + valueSql + ")";
  const char kind = StoredKind();
  if (kind == 0)
    return {};
  const int first = kind == 'Y' || kind == 'S' ? precision.value_or(2) : scale.value_or(6);
  return "ora_stored_form(" + valueSql + ", '" + std::string(1, kind) + "', " +
         std::to_string(first) + ", " + std::to_string(scale.value_or(0)) + ")";
}

OracleType OracleType::FromDescription(const ColumnInfo& info) {
  OracleType type;
  type.length = info.dataSize;
  switch (info.dataType) {
    case 2:
      type.name = info.scale == -127 && info.precision > 0 ? "FLOAT" : "NUMBER";
      if (info.precision > 0)
        type.precision = info.precision;
      if (info.scale != -127)
        type.scale = info.scale;
      break;
    case 8:
      type.name = "LONG";
      break;
    case 12:
      type.name = "DATE";
      break;
    case 23:
      type.name = "RAW";
      break;
    case 24:
      type.name = "LONG RAW";
      break;
    case 96:
      type.name = "CHAR";
      break;
    case 104:
      type.name = "ROWID";
      break;
    case 112:
      type.name = "CLOB";
      break;
    case 113:
      type.name = "BLOB";
      break;
    case 114:
      type.name = "BFILE";
      break;
    case 187:
    case 188:
    case 232:
      type = *FromDeclaration(info.dataType == 187   ? "TIMESTAMP"
                              : info.dataType == 188 ? "TIMESTAMP WITH TIME ZONE"
                                                     : "TIMESTAMP WITH LOCAL TIME ZONE",
                              info.scale, std::nullopt);
      break;
    case 189:
      type = *FromDeclaration("INTERVAL YEAR TO MONTH", info.precision, std::nullopt);
      break;
    case 190:
      type = *FromDeclaration("INTERVAL DAY TO SECOND", info.precision, info.scale);
      break;
    case 100:
      type = *FromDeclaration("BINARY_FLOAT", std::nullopt, std::nullopt);
      break;
    case 101:
      type = *FromDeclaration("BINARY_DOUBLE", std::nullopt, std::nullopt);
      break;
    default:
      type.name = "VARCHAR2";
      break;
  }
  return type;
}

ColumnInfo OracleType::Describe(const std::string& rawDecl) {
  ColumnInfo info;
  std::string decl = ToUpperAscii(rawDecl);
  if (decl.rfind("TEXT ", 0) == 0 || decl.rfind("BLOB ", 0) == 0)
    decl.erase(0, 5);
  int first = 0, second = 0;
  const std::size_t paren = decl.find('(');
  const std::string base = decl.substr(0, paren);
  int args = 0;
  if (paren != std::string::npos)
    args = std::sscanf(decl.c_str() + paren, "(%d,%d)", &first, &second);
  info.dataType = 1;
  if (base == "VARCHAR2" || base == "NVARCHAR2") {
    info.dataType = 1;
    info.dataSize = static_cast<std::uint16_t>(base == "NVARCHAR2" ? first * 2 : first);
  } else if (base == "CHAR" || base == "NCHAR") {
    info.dataType = 96;
    info.dataSize = static_cast<std::uint16_t>(base == "NCHAR" ? first * 2 : first);
    if (base == "NCHAR" || args == 2)
      info.charLength = static_cast<std::uint16_t>(base == "NCHAR" ? first : second);
  } else if (base == "NUMBER" || base == "INTEGER") {
    info.dataType = 2;
    info.dataSize = 22;
    info.precision = static_cast<std::int16_t>(base == "INTEGER" ? 38 : (args >= 1 ? first : 0));
    info.scale = static_cast<std::int8_t>(base == "INTEGER" ? 0 : (args >= 1 ? second : -127));
  } else if (base == "FLOAT") {
    info.dataType = 2;
    info.dataSize = 22;
    info.precision = static_cast<std::int16_t>(args >= 1 ? first : 126);
    info.scale = -127;
  } else if (base == "DATE") {
    info.dataType = 12;
    info.dataSize = 7;
  } else if (base == "LONG") {
    info.dataType = 8;
    info.dataSize = 0;
  } else if (base == "LONG RAW") {
    info.dataType = 24;
    info.dataSize = 0;
  } else if (base == "RAW") {
    info.dataType = 23;
    info.dataSize = static_cast<std::uint16_t>(first);
  } else if (base == "CLOB" || base == "NCLOB") {
    info.dataType = 112;
    info.dataSize = 4000;
  } else if (base == "BLOB") {
    info.dataType = 113;
    info.dataSize = 4000;
  } else if (base == "BFILE") {
    info.dataType = 114;
    info.dataSize = 530;
  } else if (base == "TIMESTAMP" || base == "TIMESTAMP_TZ" || base == "TIMESTAMP_LTZ") {
    info.dataType = base == "TIMESTAMP" ? 187 : base == "TIMESTAMP_TZ" ? 188 : 232;
    info.dataSize = base == "TIMESTAMP_TZ" ? 13 : 11;
    info.scale = static_cast<std::int8_t>(args >= 1 ? first : 6);
  } else if (base == "YM_SPAN") {
    info.dataType = 189;
    info.dataSize = 5;
    info.precision = static_cast<std::int16_t>(args >= 1 ? first : 2);
  } else if (base == "DS_SPAN") {
    info.dataType = 190;
    info.dataSize = 11;
    info.precision = static_cast<std::int16_t>(args >= 1 ? first : 2);
    info.scale = static_cast<std::int8_t>(args >= 2 ? second : 6);
  } else if (base == "BINARY_FLOAT" || base == "BINARY_DOUBLE") {
    info.dataType = base == "BINARY_FLOAT" ? 100 : 101;
    info.dataSize = base == "BINARY_FLOAT" ? 4 : 8;
  } else if (base == "ROWID") {
    info.dataType = 104;
    info.dataSize = 10;
  } else {
    info.dataSize = 4000;
  }
  return info;
}

}  // namespace sandbox
