// DBMS_LOB's procedures: writing, copying, erasing and converting LOBs, and
// the temporary LOB's life. Offsets are 1-based, in characters of a CLOB and
// bytes of a BLOB. A locator of a table row is written through to the row.
#include <algorithm>
#include <cmath>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/LobLocators.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/CharacterSets.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

constexpr long double kBufferMax = 32767;
constexpr int kWarnInconvertibleChar = 1;

PlError InvalidArgument(size_t argument) {
  return MakeError(21560,
                   "argument " + std::to_string(argument) + " is null, invalid, or out of range");
}

void RequireLob(const SuppliedCall& call, size_t i) {
  if (call.args[i].IsNull())
    throw MakeError(22275, "invalid LOB locator specified");
}

// A count or offset argument (parameter i, argument number i + 1) within
// 1 .. most; ORA-21560 otherwise.
std::size_t Whole(const SuppliedCall& call, size_t i, long double most) {
  const PlValue& value = call.args[i];
  const long double n = value.IsNull() ? 0 : std::trunc(NumberOf(value));
  if (n < 1 || n > most)
    throw InvalidArgument(i + 1);
  return static_cast<std::size_t>(std::min(n, 1e15L));
}

// An argument with a default, counted as Whole counts it.
std::size_t WholeOr(const SuppliedCall& call, size_t i, long double most, std::size_t fallback) {
  return call.given[i] ? Whole(call, i, most) : fallback;
}

// The LOB of parameter i takes contents; through a locator the row does too.
void StoreLob(SuppliedCall& call, size_t i, const std::string& contents) {
  const PlValue& lob = call.args[i];
  const PlValue next = contents.empty() ? PlValue::EmptyLob() : PlValue::Text(contents);
  if (lob.location() != nullptr)
    WriteThroughLocator(call.session, *lob.location(), next);
  call.args[i] = next.WithLob(lob.location(), lob.lobOpen());
}

// The first count units of a buffer argument; ORA-21560 (for the amount)
// when it has fewer.
std::string BufferPiece(const SuppliedCall& call, size_t buffer, std::size_t count,
                        size_t amountArgument, bool binary) {
  const std::string text = call.args[buffer].IsNull() ? std::string() : call.args[buffer].text();
  if (LobUnits(text, binary) < count)
    throw InvalidArgument(amountArgument);
  return LobPiece(text, 0, count, binary);
}

// READ(lob, amount IN OUT, offset, buffer OUT): up to amount units from
// offset; NO_DATA_FOUND at or past the end.
PlValue Read(SuppliedCall& call) {
  RequireLob(call, 0);
  const bool binary = call.binary[0];
  const std::size_t amount = Whole(call, 1, kBufferMax);
  const std::size_t offset = Whole(call, 2, kLobMaxSize);
  const std::string piece = LobPiece(call.args[0].text(), offset - 1, amount, binary);
  if (piece.empty())
    throw PredefinedError(1403);
  call.args[1] = PlValue::Number(static_cast<long double>(LobUnits(piece, binary)));
  call.args[3] = PlValue::Text(piece);
  return {};
}

PlValue Write(SuppliedCall& call) {
  RequireLob(call, 0);
  const bool binary = call.binary[0];
  const std::size_t amount = Whole(call, 1, kBufferMax);
  const std::size_t offset = Whole(call, 2, kLobMaxSize);
  const std::string piece = BufferPiece(call, 3, amount, 2, binary);
  StoreLob(call, 0, LobOverwrite(call.args[0].text(), offset - 1, piece, binary));
  return {};
}

PlValue WriteAppend(SuppliedCall& call) {
  RequireLob(call, 0);
  const bool binary = call.binary[0];
  const std::string piece = BufferPiece(call, 2, Whole(call, 1, kBufferMax), 2, binary);
  StoreLob(call, 0, call.args[0].text() + piece);
  return {};
}

PlValue Append(SuppliedCall& call) {
  RequireLob(call, 0);
  if (!call.args[1].IsNull())
    StoreLob(call, 0, call.args[0].text() + call.args[1].text());
  return {};
}

// COPY(dest, src, amount, dest_offset, src_offset): as much of the amount as
// src has from src_offset, written over dest from dest_offset.
PlValue Copy(SuppliedCall& call) {
  RequireLob(call, 0);
  RequireLob(call, 1);
  const bool binary = call.binary[0];
  const std::size_t amount = Whole(call, 2, kLobMaxSize);
  const std::size_t to = WholeOr(call, 3, kLobMaxSize, 1);
  const std::size_t from = WholeOr(call, 4, kLobMaxSize, 1);
  const std::string piece = LobPiece(call.args[1].text(), from - 1, amount, binary);
  if (!piece.empty())
    StoreLob(call, 0, LobOverwrite(call.args[0].text(), to - 1, piece, binary));
  return {};
}

// ERASE(lob, amount IN OUT, offset): blanks (zero bytes) over what is there;
// amount comes back as the count erased.
PlValue Erase(SuppliedCall& call) {
  RequireLob(call, 0);
  const bool binary = call.binary[0];
  const std::size_t amount = Whole(call, 1, kLobMaxSize);
  const std::size_t offset = WholeOr(call, 2, kLobMaxSize, 1);
  const std::string& text = call.args[0].text();
  const std::size_t units = LobUnits(text, binary);
  const std::size_t erased = offset > units ? 0 : std::min(amount, units - offset + 1);
  if (erased > 0)
    StoreLob(call, 0, LobOverwrite(text, offset - 1, LobFiller(erased, binary), binary));
  call.args[1] = PlValue::Number(static_cast<long double>(erased));
  return {};
}

// The LOB cut to NEWLEN characters (bytes); ORA-22926 when it is shorter.
PlValue Trim(SuppliedCall& call) {
  RequireLob(call, 0);
  const std::string& text = call.args[0].text();
  const long double length = static_cast<long double>(LobUnits(text, call.binary[0]));
  if (call.args[1].IsNull() || NumberOf(call.args[1]) < 0 || NumberOf(call.args[1]) > length)
    throw MakeError(22926, "specified trim length is greater than current LOB value's length");
  const auto keep = static_cast<std::size_t>(NumberOf(call.args[1]));
  StoreLob(call, 0, LobPiece(text, 0, keep, call.binary[0]));
  return {};
}

// CONVERTTOCLOB and CONVERTTOBLOB(dest, src, amount, dest_offset IN OUT,
// src_offset IN OUT, csid, lang_context IN OUT, warning OUT): amount units
// of src from src_offset, converted between the character set csid (0 for
// the database's) and text, written over dest from dest_offset; both
// offsets come back past what was read and written.
PlValue Convert(SuppliedCall& call, bool toClob) {
  RequireLob(call, 0);
  RequireLob(call, 1);
  const std::size_t amount = Whole(call, 2, kLobMaxSize);
  const std::size_t to = Whole(call, 3, kLobMaxSize);
  const std::size_t from = Whole(call, 4, kLobMaxSize);
  const std::string charset = CharacterSetName(
      call.args[5].IsNull() ? 0 : static_cast<int>(std::trunc(NumberOf(call.args[5]))));
  if (charset.empty())
    throw InvalidArgument(6);
  const std::string source = LobPiece(call.args[1].text(), from - 1, amount, toClob);
  std::string converted;
  bool lossy = false;
  if (toClob)
    DecodeText(RawBytes(source), charset, converted, lossy);
  else
    converted = RawHex(EncodeText(source, charset, lossy));
  if (!converted.empty())
    StoreLob(call, 0, LobOverwrite(call.args[0].text(), to - 1, converted, !toClob));
  call.args[3] = PlValue::Number(static_cast<long double>(to + LobUnits(converted, !toClob)));
  call.args[4] = PlValue::Number(static_cast<long double>(from + LobUnits(source, toClob)));
  call.args[7] = PlValue::Number(lossy ? kWarnInconvertibleChar : 0);
  return {};
}

PlValue ConvertToClob(SuppliedCall& call) {
  return Convert(call, true);
}
PlValue ConvertToBlob(SuppliedCall& call) {
  return Convert(call, false);
}

PlValue CreateTemporary(SuppliedCall& call) {
  call.args[0] = PlValue::EmptyLob();
  return {};
}

PlValue FreeTemporary(SuppliedCall& call) {
  call.args[0] = PlValue();
  return {};
}

// OPEN and CLOSE bracket a series of writes: a LOB opened twice, or closed
// when it is not open, is an error.
PlValue Open(SuppliedCall& call) {
  RequireLob(call, 0);
  if (call.args[0].lobOpen())
    throw MakeError(22293, "LOB already opened");
  call.args[0] = call.args[0].WithLob(call.args[0].location(), true);
  return {};
}

PlValue Close(SuppliedCall& call) {
  RequireLob(call, 0);
  if (!call.args[0].lobOpen())
    throw MakeError(22289, "cannot perform operation on an unopened file or LOB");
  call.args[0] = call.args[0].WithLob(call.args[0].location(), false);
  return {};
}

// Parameters: IN, IN OUT, OUT and defaulted IN.
constexpr SuppliedParam In(const char* name) {
  return {name};
}
constexpr SuppliedParam InOut(const char* name) {
  return {name, true, false, true};
}
constexpr SuppliedParam Out(const char* name) {
  return {name, true};
}
constexpr SuppliedParam Optional(const char* name) {
  return {name, false, true};
}

}  // namespace

const std::vector<SuppliedRoutine>& DbmsLobProcedures() {
  static const std::vector<SuppliedRoutine> routines = {
      {"DBMS_LOB",
       "READ",
       false,
       {In("LOB_LOC"), InOut("AMOUNT"), In("OFFSET"), Out("BUFFER")},
       Read},
      {"DBMS_LOB",
       "WRITE",
       false,
       {InOut("LOB_LOC"), In("AMOUNT"), In("OFFSET"), In("BUFFER")},
       Write},
      {"DBMS_LOB",
       "WRITEAPPEND",
       false,
       {InOut("LOB_LOC"), In("AMOUNT"), In("BUFFER")},
       WriteAppend},
      {"DBMS_LOB", "APPEND", false, {InOut("DEST_LOB"), In("SRC_LOB")}, Append},
      {"DBMS_LOB",
       "COPY",
       false,
       {InOut("DEST_LOB"), In("SRC_LOB"), In("AMOUNT"), Optional("DEST_OFFSET"),
        Optional("SRC_OFFSET")},
       Copy},
      {"DBMS_LOB", "ERASE", false, {InOut("LOB_LOC"), InOut("AMOUNT"), Optional("OFFSET")}, Erase},
      {"DBMS_LOB", "TRIM", false, {InOut("LOB_LOC"), In("NEWLEN")}, Trim},
      {"DBMS_LOB",
       "CONVERTTOCLOB",
       false,
       {InOut("DEST_LOB"), In("SRC_BLOB"), In("AMOUNT"), InOut("DEST_OFFSET"), InOut("SRC_OFFSET"),
        In("BLOB_CSID"), InOut("LANG_CONTEXT"), Out("WARNING")},
       ConvertToClob},
      {"DBMS_LOB",
       "CONVERTTOBLOB",
       false,
       {InOut("DEST_LOB"), In("SRC_CLOB"), In("AMOUNT"), InOut("DEST_OFFSET"), InOut("SRC_OFFSET"),
        In("BLOB_CSID"), InOut("LANG_CONTEXT"), Out("WARNING")},
       ConvertToBlob},
      {"DBMS_LOB",
       "CREATETEMPORARY",
       false,
       {InOut("LOB_LOC"), In("CACHE"), Optional("DUR")},
       CreateTemporary},
      {"DBMS_LOB", "FREETEMPORARY", false, {InOut("LOB_LOC")}, FreeTemporary},
      {"DBMS_LOB", "OPEN", false, {InOut("LOB_LOC"), In("OPEN_MODE")}, Open},
      {"DBMS_LOB", "CLOSE", false, {InOut("LOB_LOC")}, Close},
  };
  return routines;
}

}  // namespace sandbox::plsql
