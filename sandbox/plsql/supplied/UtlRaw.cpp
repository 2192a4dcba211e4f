// UTL_RAW: byte strings cast to and from text and numbers, cut, joined,
// compared and combined bit by bit. Errors are VALUE_ERROR (ORA-06502), as
// the package raises them.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/CharacterSets.h"
#include "sandbox/plsql/supplied/RawArguments.h"
#include "sandbox/server/values/DecimalNumber.h"

namespace sandbox::plsql {

namespace {

constexpr int kBigEndian = 1;
constexpr int kLittleEndian = 2;
constexpr int kMachineEndian = 3;

// A whole number argument; VALUE_ERROR for NULL.
long long Whole(const SuppliedCall& call, size_t i) {
  if (call.args[i].IsNull())
    RawValueError();
  const long double n = std::trunc(NumberOf(call.args[i]));
  if (std::fabs(n) > 1e15L)
    RawValueError();
  return static_cast<long long>(n);
}

// The byte order argument i asks for: big endian unless it says little.
bool LittleEndian(const SuppliedCall& call, size_t i) {
  const long long order = call.given[i] && !call.args[i].IsNull() ? Whole(call, i) : kBigEndian;
  if (order != kBigEndian && order != kLittleEndian && order != kMachineEndian)
    RawValueError();
  return order != kBigEndian;  // this machine's own order is little endian
}

PlValue CastToRaw(SuppliedCall& call) {
  return RawResult(call, call.args[0].IsNull() ? std::string() : SuppliedText(call, 0));
}

PlValue CastToVarchar2(SuppliedCall& call) {
  return PlValue::Text(RawArgument(call, 0));
}

PlValue CastToNvarchar2(SuppliedCall& call) {
  std::string text;
  bool lossy = false;
  DecodeText(RawArgument(call, 0), "AL16UTF16", text, lossy);
  return PlValue::Text(text);
}

PlValue Length(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  return PlValue::Number(static_cast<long double>(RawArgument(call, 0).size()));
}

// SUBSTR(r, pos, len): pos counts from the end when negative; the piece
// must lie inside r.
PlValue Substr(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  const std::string bytes = RawArgument(call, 0);
  const auto size = static_cast<long long>(bytes.size());
  long long pos = Whole(call, 1);
  if (pos == 0 || std::llabs(pos) > size)
    RawValueError();
  if (pos < 0)
    pos += size + 1;
  const long long len = call.given[2] && !call.args[2].IsNull() ? Whole(call, 2) : size - pos + 1;
  if (len < 1 || pos - 1 + len > size)
    RawValueError();
  return RawResult(call,
                   bytes.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(len)));
}

PlValue Concat(SuppliedCall& call) {
  std::string bytes;
  for (size_t i = 0; i < call.args.size(); ++i)
    bytes += RawArgument(call, i);
  return RawResult(call, bytes);
}

PlValue Reverse(SuppliedCall& call) {
  std::string bytes = RawArgument(call, 0);
  if (bytes.empty())
    RawValueError();
  std::reverse(bytes.begin(), bytes.end());
  return RawResult(call, bytes);
}

// BIT_AND, BIT_OR and BIT_XOR over the bytes both have; the longer one's
// rest is kept as it is.
template <typename Op>
PlValue Bitwise(SuppliedCall& call, Op op) {
  if (call.args[0].IsNull() || call.args[1].IsNull())
    return {};
  std::string a = RawArgument(call, 0);
  const std::string b = RawArgument(call, 1);
  if (a.size() < b.size())
    a += b.substr(a.size());
  for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    a[i] =
        static_cast<char>(op(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i])));
  return RawResult(call, a);
}

PlValue BitAnd(SuppliedCall& call) {
  return Bitwise(call, [](unsigned a, unsigned b) { return a & b; });
}
PlValue BitOr(SuppliedCall& call) {
  return Bitwise(call, [](unsigned a, unsigned b) { return a | b; });
}
PlValue BitXor(SuppliedCall& call) {
  return Bitwise(call, [](unsigned a, unsigned b) { return a ^ b; });
}

PlValue BitComplement(SuppliedCall& call) {
  std::string bytes = RawArgument(call, 0);
  for (char& c : bytes)
    c = static_cast<char>(~static_cast<unsigned char>(c));
  return RawResult(call, bytes);
}

// COMPARE(r1, r2, pad): 0 when equal, else the position of the first byte
// that differs, the shorter one padded with pad's first byte (00).
PlValue Compare(SuppliedCall& call) {
  const std::string a = RawArgument(call, 0), b = RawArgument(call, 1);
  const std::string pad = RawArgument(call, 2);
  const char filler = pad.empty() ? '\0' : pad[0];
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    if ((i < a.size() ? a[i] : filler) != (i < b.size() ? b[i] : filler))
      return PlValue::Number(static_cast<long double>(i + 1));
  }
  return PlValue::Number(0);
}

// CONVERT(r, to_charset, from_charset), the sets named as NLS_LANG does.
PlValue Convert(SuppliedCall& call) {
  const std::string to = KnownCharacterSet(SuppliedText(call, 1));
  const std::string from = KnownCharacterSet(SuppliedText(call, 2));
  if (call.args[1].IsNull() || call.args[2].IsNull() || to.empty() || from.empty())
    RawValueError();
  std::string text;
  bool lossy = false;
  DecodeText(RawArgument(call, 0), from, text, lossy);
  return RawResult(call, EncodeText(text, to, lossy));
}

PlValue CastFromNumber(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  const auto number = DecimalNumber::Parse(FormatNumber(NumberOf(call.args[0])));
  if (!number)
    RawValueError();
  return RawResult(call, number->OracleBytes());
}

PlValue CastToNumber(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  const auto number = DecimalNumber::FromOracleBytes(RawArgument(call, 0));
  long double value = 0;
  if (!number || !ParseNumber(number->CanonicalText(), value))
    RawValueError();
  return PlValue::Number(value);
}

PlValue CastFromBinaryInteger(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  const long long n = Whole(call, 0);
  if (n < INT32_MIN || n > INT32_MAX)
    RawValueError();
  const auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(n));
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes += static_cast<char>((bits >> shift) & 0xFF);
  if (LittleEndian(call, 1))
    std::reverse(bytes.begin(), bytes.end());
  return RawResult(call, bytes);
}

// CAST_TO_BINARY_INTEGER(r, endianess): one to four bytes, the missing
// high-order ones zero.
PlValue CastToBinaryInteger(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  std::string bytes = RawArgument(call, 0);
  if (bytes.size() > 4)
    RawValueError();
  if (LittleEndian(call, 1))
    std::reverse(bytes.begin(), bytes.end());
  std::uint32_t bits = 0;
  for (const char c : bytes)
    bits = (bits << 8) | static_cast<unsigned char>(c);
  return PlValue::Number(static_cast<std::int32_t>(bits));
}

// XRANGE(start, end): every byte from start to end, through FF and 00 when
// start is the greater.
PlValue Xrange(SuppliedCall& call) {
  const std::string start = RawArgument(call, 0), end = RawArgument(call, 1);
  unsigned char at = start.empty() ? 0x00 : static_cast<unsigned char>(start[0]);
  const unsigned char last = end.empty() ? 0xFF : static_cast<unsigned char>(end[0]);
  std::string bytes(1, static_cast<char>(at));
  while (at != last)
    bytes += static_cast<char>(++at);
  return RawResult(call, bytes);
}

// TRANSLATE(r, from_set, to_set): each byte of from_set becomes the byte of
// to_set in its place, or goes when to_set is shorter.
PlValue Translate(SuppliedCall& call) {
  const std::string bytes = RawArgument(call, 0);
  const std::string from = RawArgument(call, 1), to = RawArgument(call, 2);
  if (bytes.empty() || from.empty() || to.empty())
    RawValueError();
  std::string out;
  for (const char c : bytes) {
    const std::size_t at = from.find(c);
    if (at == std::string::npos)
      out += c;
    else if (at < to.size())
      out += to[at];
  }
  return RawResult(call, out);
}

// OVERLAY(overlay, target, pos, len, pad): len bytes of target from pos
// replaced by overlay, padded or cut to len; a target too short is padded
// up to pos first.
PlValue Overlay(SuppliedCall& call) {
  std::string overlay = RawArgument(call, 0);
  std::string target = RawArgument(call, 1);
  if (overlay.empty() || call.args[1].IsNull())
    RawValueError();
  const long long pos = call.given[2] && !call.args[2].IsNull() ? Whole(call, 2) : 1;
  const long long len = call.given[3] && !call.args[3].IsNull()
                            ? Whole(call, 3)
                            : static_cast<long long>(overlay.size());
  if (pos < 1 || len < 0 || pos - 1 + len > static_cast<long long>(kMaxRawBytes))
    RawValueError();
  const std::string pad = RawArgument(call, 4);
  const char filler = pad.empty() ? '\0' : pad[0];
  overlay.resize(static_cast<std::size_t>(len), filler);
  const auto at = static_cast<std::size_t>(pos - 1);
  if (target.size() < at)
    target.resize(at, filler);
  target.replace(at, std::min(overlay.size(), target.size() - at), overlay);
  return RawResult(call, target);
}

PlValue Copies(SuppliedCall& call) {
  const std::string bytes = RawArgument(call, 0);
  const long long n = Whole(call, 1);
  if (bytes.empty() || n < 1 || static_cast<std::size_t>(n) > kMaxRawBytes / bytes.size())
    RawValueError();
  std::string out;
  for (long long i = 0; i < n; ++i)
    out += bytes;
  return RawResult(call, out);
}

PlValue BigEndian(SuppliedCall&) {
  return PlValue::Number(kBigEndian);
}
PlValue LittleEndianConstant(SuppliedCall&) {
  return PlValue::Number(kLittleEndian);
}
PlValue MachineEndian(SuppliedCall&) {
  return PlValue::Number(kMachineEndian);
}

SuppliedRoutine Function(const char* name, std::vector<SuppliedParam> params,
                         PlValue (*body)(SuppliedCall&), bool rawResult = true) {
  if (rawResult)
    return RawFunction("UTL_RAW", name, std::move(params), body);
  return {"UTL_RAW", name, true, std::move(params), body};
}

constexpr SuppliedParam Optional(const char* name) {
  return {name, false, true};
}

}  // namespace

const std::vector<SuppliedRoutine>& UtlRawRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      Function("CAST_TO_RAW", {{"C"}}, CastToRaw),
      Function("CAST_TO_VARCHAR2", {{"R"}}, CastToVarchar2, false),
      Function("CAST_TO_NVARCHAR2", {{"R"}}, CastToNvarchar2, false),
      Function("LENGTH", {{"R"}}, Length, false),
      Function("SUBSTR", {{"R"}, {"POS"}, Optional("LEN")}, Substr),
      Function("CONCAT",
               {Optional("R1"), Optional("R2"), Optional("R3"), Optional("R4"), Optional("R5"),
                Optional("R6"), Optional("R7"), Optional("R8"), Optional("R9"), Optional("R10"),
                Optional("R11"), Optional("R12")},
               Concat),
      Function("REVERSE", {{"R"}}, Reverse),
      Function("BIT_AND", {{"R1"}, {"R2"}}, BitAnd),
      Function("BIT_OR", {{"R1"}, {"R2"}}, BitOr),
      Function("BIT_XOR", {{"R1"}, {"R2"}}, BitXor),
      Function("BIT_COMPLEMENT", {{"R"}}, BitComplement),
      Function("COMPARE", {{"R1"}, {"R2"}, Optional("PAD")}, Compare, false),
      Function("CONVERT", {{"R"}, {"TO_CHARSET"}, {"FROM_CHARSET"}}, Convert),
      Function("CAST_FROM_NUMBER", {{"N"}}, CastFromNumber),
      Function("CAST_TO_NUMBER", {{"R"}}, CastToNumber, false),
      Function("CAST_FROM_BINARY_INTEGER", {{"N"}, Optional("ENDIANESS")}, CastFromBinaryInteger),
      Function("CAST_TO_BINARY_INTEGER", {{"R"}, Optional("ENDIANESS")}, CastToBinaryInteger,
               false),
      Function("XRANGE", {Optional("START_BYTE"), Optional("END_BYTE")}, Xrange),
      Function("TRANSLATE", {{"R"}, {"FROM_SET"}, {"TO_SET"}}, Translate),
      Function("OVERLAY",
               {{"OVERLAY_STR"}, {"TARGET"}, Optional("POS"), Optional("LEN"), Optional("PAD")},
               Overlay),
      Function("COPIES", {{"R"}, {"N"}}, Copies),
      Function("BIG_ENDIAN", {}, BigEndian, false),
      Function("LITTLE_ENDIAN", {}, LittleEndianConstant, false),
      Function("MACHINE_ENDIAN", {}, MachineEndian, false),
  };
  return routines;
}

}  // namespace sandbox::plsql
