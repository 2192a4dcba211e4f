// ClientBuffer: element access and the external data type conversions.
#include "sandbox/oci/ClientBuffer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/FileLocator.h"
#include "sandbox/oci/HandleRegistry.h"
#include "sandbox/oci/LobLocator.h"

namespace sandbox::oci {
namespace {

enum class TypeClass { Character, Integer, Float, Binary, Locator, FileLocator, Unsupported };

TypeClass ClassOf(ub2 type) {
  switch (type) {
    case SQLT_CHR:
    case SQLT_STR:
    case SQLT_LNG:
    case SQLT_VCS:
    case SQLT_AFC:
      return TypeClass::Character;
    case SQLT_INT:
      return TypeClass::Integer;
    case SQLT_FLT:
      return TypeClass::Float;
    case SQLT_BIN:
    case SQLT_LBI:
      return TypeClass::Binary;
    case SQLT_CLOB:
    case SQLT_BLOB:
      return TypeClass::Locator;
    case SQLT_BFILEE:
      return TypeClass::FileLocator;
    default:
      return TypeClass::Unsupported;
  }
}

const char* KindName(Value::Kind kind) {
  switch (kind) {
    case Value::Kind::Date:
      return "DATE";
    case Value::Kind::Binary:
      return "BINARY";
    case Value::Kind::Number:
      return "NUMBER";
    default:
      return "CHAR";
  }
}

// Bytes of data an element of capacity bytes holds, after terminator or prefix.
std::size_t DataCapacity(ub2 type, std::size_t capacity) {
  if (type == SQLT_STR)
    return capacity > 0 ? capacity - 1 : 0;
  if (type == SQLT_VCS)
    return capacity > 2 ? capacity - 2 : 0;
  return capacity;
}

// Cuts length back so that a multi-byte UTF-8 character is never split.
std::size_t CharacterBoundary(const std::string& text, std::size_t length) {
  while (length > 0 && length < text.size() &&
         (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    --length;
  }
  return length;
}

bool ParseNumber(const Value& value, long double& number, OraError& error) {
  if (value.kind == Value::Kind::Date || value.kind == Value::Kind::Binary) {
    error = errors::InconsistentDatatypes("NUMBER", KindName(value.kind));
    return false;
  }
  const char* begin = value.text.c_str();
  char* end = nullptr;
  errno = 0;
  number = std::strtold(begin, &end);
  while (end != nullptr && (*end == ' ' || *end == '\t'))
    ++end;
  if (end == begin || end == nullptr || *end != '\0' || errno == ERANGE) {
    error = errors::InvalidNumber();
    return false;
  }
  return true;
}

bool DecodeHex(const std::string& text, std::string& bytes, OraError& error) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9')
      return c - '0';
    if (c >= 'a' && c <= 'f')
      return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
    return -1;
  };
  bytes.clear();
  // An odd number of digits has an implied leading zero, as HEXTORAW reads it.
  std::size_t i = text.size() % 2;
  if (i == 1) {
    int low = digit(text[0]);
    if (low < 0) {
      error = errors::InvalidHexNumber();
      return false;
    }
    bytes.push_back(static_cast<char>(low));
  }
  for (; i < text.size(); i += 2) {
    int high = digit(text[i]);
    int low = digit(text[i + 1]);
    if (high < 0 || low < 0) {
      error = errors::InvalidHexNumber();
      return false;
    }
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return true;
}

// A double as Oracle writes a number: no exponent for ordinary values and no
// leading zero before the decimal point.
std::string CanonicalNumber(double number) {
  char text[64];
  if (std::nearbyint(number) == number && std::fabs(number) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", number);
  } else {
    std::snprintf(text, sizeof text, "%.15g", number);
  }
  std::string result = text;
  if (result.compare(0, 2, "0.") == 0)
    result.erase(0, 1);
  if (result.compare(0, 3, "-0.") == 0)
    result.erase(1, 1);
  return result;
}

template <class T>
bool StoreInteger(long double number, void* destination, OraError& error) {
  long double truncated = std::trunc(number);
  if (truncated < static_cast<long double>(std::numeric_limits<T>::min()) ||
      truncated > static_cast<long double>(std::numeric_limits<T>::max())) {
    error = errors::IntegerOverflow();
    return false;
  }
  T result = static_cast<T>(truncated);
  std::memcpy(destination, &result, sizeof result);
  return true;
}

template <class T>
T LoadScalar(const void* source) {
  T result;
  std::memcpy(&result, source, sizeof result);
  return result;
}

}  // namespace

ClientBuffer::ClientBuffer(void* value, sb4 valueSize, ub2 type, void* indicator, ub2* length,
                           ub2* returnCode)
    : value_(value),
      valueSize_(std::max<sb4>(valueSize, 0)),
      type_(type),
      indicator_(static_cast<sb2*>(indicator)),
      length_(length),
      returnCode_(returnCode) {}

bool ClientBuffer::SupportsType(ub2 type, sb4 valueSize) {
  if (type == SQLT_RSET)
    return true;  // the element is the client's statement handle pointer
  switch (ClassOf(type)) {
    case TypeClass::Character:
    case TypeClass::Binary:
      return valueSize >= 0;
    case TypeClass::Integer:
      return valueSize == 1 || valueSize == 2 || valueSize == 4 || valueSize == 8;
    case TypeClass::Float:
      return valueSize == 4 || valueSize == 8;
    case TypeClass::Locator:
    case TypeClass::FileLocator:
      return true;  // an array of locator pointers, whatever size the caller gives
    case TypeClass::Unsupported:
      break;
  }
  return false;
}

bool ClientBuffer::SupportsPieces(ub2 type) {
  return type == SQLT_CHR || type == SQLT_LNG || type == SQLT_BIN || type == SQLT_LBI;
}

void* ClientBuffer::BoundStatement() const {
  void* pointer = nullptr;
  if (type_ == SQLT_RSET && value_ != nullptr)
    std::memcpy(&pointer, value_, sizeof pointer);
  return pointer;
}

void* ClientBuffer::ValueAt(ub4 row) const {
  if (value_ == nullptr)
    return nullptr;
  return static_cast<char*>(value_) + static_cast<std::size_t>(row) * valueSize_;
}

void ClientBuffer::SetIndicator(ub4 row, sb2 value) const {
  if (indicator_ != nullptr)
    indicator_[row] = value;
}

void ClientBuffer::SetLength(ub4 row, std::size_t value) const {
  if (length_ != nullptr)
    length_[row] = static_cast<ub2>(std::min<std::size_t>(value, 0xFFFF));
}

void ClientBuffer::SetReturnCode(ub4 row, ub2 value) const {
  if (returnCode_ != nullptr)
    returnCode_[row] = value;
}

Value ClientBuffer::Read(ub4 row) const {
  const void* element = ValueAt(row);
  if (element == nullptr || (indicator_ != nullptr && indicator_[row] == -1))
    return Value::Null();
  const char* bytes = static_cast<const char*>(element);
  std::size_t size = static_cast<std::size_t>(valueSize_);
  // An explicit length counts for the types that carry none of their own.
  if (length_ != nullptr && type_ != SQLT_STR && type_ != SQLT_VCS) {
    size = std::min<std::size_t>(size, length_[row]);
  }
  switch (ClassOf(type_)) {
    case TypeClass::Character:
      if (type_ == SQLT_STR)
        return Value::Text(std::string(bytes, strnlen(bytes, size)));
      if (type_ == SQLT_VCS) {
        if (size < 2)
          return Value::Null();
        std::size_t length = std::min<std::size_t>(LoadScalar<ub2>(bytes), size - 2);
        return Value::Text(std::string(bytes + 2, length));
      }
      return Value::Text(std::string(bytes, size));
    case TypeClass::Binary:
      return size == 0 ? Value::Null() : Value::Binary(std::string(bytes, size));
    case TypeClass::Integer:
      switch (valueSize_) {
        case 1:
          return Value::Integer(LoadScalar<std::int8_t>(bytes));
        case 2:
          return Value::Integer(LoadScalar<std::int16_t>(bytes));
        case 4:
          return Value::Integer(LoadScalar<std::int32_t>(bytes));
        default:
          return Value::Integer(LoadScalar<std::int64_t>(bytes));
      }
    case TypeClass::Float:
      return Value::Number(
          CanonicalNumber(valueSize_ == 4 ? LoadScalar<float>(bytes) : LoadScalar<double>(bytes)));
    case TypeClass::Locator:  // never bound: binds refuse LOB types
    case TypeClass::FileLocator:
    case TypeClass::Unsupported:
      break;
  }
  return Value::Null();
}

bool ClientBuffer::ValueBytes(ub2 type, const Value& value, const Session& session,
                              std::string& bytes, OraError& error) {
  if (ClassOf(type) == TypeClass::Binary || type == SQLT_BLOB) {
    if (value.kind == Value::Kind::Binary) {
      bytes = value.text;
      return true;
    }
    if (value.kind == Value::Kind::Text)
      return DecodeHex(value.text, bytes, error);
    error = errors::InconsistentDatatypes("BINARY", KindName(value.kind));
    return false;
  }
  bytes = session.ToText(value);
  return true;
}

StoreOutcome ClientBuffer::Store(ub4 row, const Value& value, const Session& session) const {
  StoreOutcome outcome;
  void* element = ValueAt(row);
  std::size_t capacity = static_cast<std::size_t>(valueSize_);
  if (value.IsNull()) {
    if (indicator_ != nullptr) {
      indicator_[row] = -1;
    } else {
      outcome.nullWithoutIndicator = true;
    }
    if (element != nullptr && type_ == SQLT_STR && capacity > 0)
      *static_cast<char*>(element) = 0;
    SetLength(row, 0);
    SetReturnCode(row, outcome.nullWithoutIndicator ? 1405 : 0);
    return outcome;
  }
  if (element == nullptr)
    capacity = 0;
  if (type_ == SQLT_RSET) {
    // A cursor reaches its statement handle through BoundStatement.
    outcome.error = errors::InconsistentDatatypes("CURSOR", KindName(value.kind));
    return outcome;
  }

  TypeClass typeClass = ClassOf(type_);
  if (typeClass == TypeClass::Locator || typeClass == TypeClass::FileLocator) {
    // The element is the client's locator, which now points at the value.
    void* pointer = nullptr;
    if (element != nullptr)
      std::memcpy(&pointer, element, sizeof pointer);
    HandleRegistry& registry = HandleRegistry::Instance();
    std::string bytes;
    if (typeClass == TypeClass::FileLocator) {
      if (auto* file = registry.Find<FileLocator>(pointer))
        file->Assign(session.ToText(value));
      else
        outcome.error = errors::InvalidLobLocator();
    } else if (auto* lob = registry.Find<LobLocator>(pointer)) {
      if (ValueBytes(type_, value, session, bytes, outcome.error))
        lob->Assign(std::move(bytes), type_ == SQLT_CLOB);
    } else {
      outcome.error = errors::InvalidLobLocator();
    }
    if (!outcome.error.IsSet()) {
      SetIndicator(row, 0);
      SetReturnCode(row, 0);
    }
    return outcome;
  }
  if (typeClass == TypeClass::Integer || typeClass == TypeClass::Float) {
    long double number = 0;
    if (!ParseNumber(value, number, outcome.error))
      return outcome;
    if (element == nullptr) {
      outcome.truncated = true;
    } else if (typeClass == TypeClass::Float) {
      if (valueSize_ == 4) {
        float single = static_cast<float>(number);
        std::memcpy(element, &single, sizeof single);
      } else {
        double full = static_cast<double>(number);
        std::memcpy(element, &full, sizeof full);
      }
    } else {
      bool stored = valueSize_ == 1   ? StoreInteger<std::int8_t>(number, element, outcome.error)
                    : valueSize_ == 2 ? StoreInteger<std::int16_t>(number, element, outcome.error)
                    : valueSize_ == 4 ? StoreInteger<std::int32_t>(number, element, outcome.error)
                                      : StoreInteger<std::int64_t>(number, element, outcome.error);
      if (!stored)
        return outcome;
    }
    SetIndicator(row, 0);
    SetLength(row, capacity);
    SetReturnCode(row, 0);
    return outcome;
  }

  std::string bytes;
  if (!ValueBytes(type_, value, session, bytes, outcome.error))
    return outcome;
  std::size_t room = DataCapacity(type_, capacity);
  std::size_t length = std::min(bytes.size(), room);
  if (typeClass == TypeClass::Character)
    length = CharacterBoundary(bytes, length);
  outcome.truncated = length < bytes.size();
  if (element != nullptr) {
    char* out = static_cast<char*>(element);
    if (type_ == SQLT_VCS && capacity >= 2) {
      ub2 prefix = static_cast<ub2>(length);
      std::memcpy(out, &prefix, sizeof prefix);
      out += 2;
    }
    std::memcpy(out, bytes.data(), length);
    if (type_ == SQLT_STR && capacity > 0)
      out[length] = '\0';
    if (type_ == SQLT_AFC)
      std::memset(out + length, ' ', capacity - length);
  }
  if (outcome.truncated) {
    SetIndicator(row, bytes.size() <= 0x7FFF ? static_cast<sb2>(bytes.size()) : sb2{-2});
    SetReturnCode(row, 1406);
  } else {
    SetIndicator(row, 0);
    SetReturnCode(row, 0);
  }
  SetLength(row, length);
  return outcome;
}

}  // namespace sandbox::oci
