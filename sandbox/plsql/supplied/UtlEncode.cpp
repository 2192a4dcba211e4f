// UTL_ENCODE: base64 of RAW values as mail bodies carry it, in lines of 64
// characters ended by CR LF, and text encoded in a character set as base64
// or quoted-printable. Base64 itself is OpenSSL's.
#include <openssl/evp.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/CharacterSets.h"
#include "sandbox/plsql/supplied/RawArguments.h"

namespace sandbox::plsql {

namespace {

constexpr int kBase64 = 1;
constexpr int kQuotedPrintable = 2;
constexpr std::size_t kLineLength = 64;

std::string Base64Encode(const std::string& bytes) {
  std::string flat(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(flat.data()),
                                      reinterpret_cast<const unsigned char*>(bytes.data()),
                                      static_cast<int>(bytes.size()));
  flat.resize(static_cast<std::size_t>(written));
  std::string lines;
  for (std::size_t at = 0; at < flat.size(); at += kLineLength)
    lines += (at > 0 ? "\r\n" : "") + flat.substr(at, kLineLength);
  return lines;
}

// Base64 text to bytes, line ends and blanks between the groups ignored;
// VALUE_ERROR for text that is not base64.
std::string Base64Decode(const std::string& text) {
  using Context = std::unique_ptr<EVP_ENCODE_CTX, decltype(&EVP_ENCODE_CTX_free)>;
  const Context context(EVP_ENCODE_CTX_new(), EVP_ENCODE_CTX_free);
  if (!context)
    throw std::bad_alloc();
  EVP_DecodeInit(context.get());
  std::string bytes(text.size() + 3, '\0');  // base64 never decodes to more
  int written = 0, last = 0;
  if (EVP_DecodeUpdate(context.get(), reinterpret_cast<unsigned char*>(bytes.data()), &written,
                       reinterpret_cast<const unsigned char*>(text.data()),
                       static_cast<int>(text.size())) < 0 ||
      EVP_DecodeFinal(context.get(), reinterpret_cast<unsigned char*>(bytes.data()) + written,
                      &last) < 0)
    RawValueError();
  bytes.resize(static_cast<std::size_t>(written + last));
  return bytes;
}

// Quoted-printable: bytes outside printable ASCII, and "=", as =XX; lines
// broken softly ("=" CR LF) before 76 characters.
std::string QuotedPrintableEncode(const std::string& bytes) {
  std::string out;
  std::size_t column = 0;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    char piece[4] = {c, '\0'};
    if (b < 32 || b > 126 || b == '=')
      std::snprintf(piece, sizeof piece, "=%02X", b);
    const std::string text(piece);
    if (column + text.size() > 75) {
      out += "=\r\n";
      column = 0;
    }
    out += text;
    column += text.size();
  }
  return out;
}

std::string QuotedPrintableDecode(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '=') {
      out += text[i];
    } else if (text.compare(i + 1, 2, "\r\n") == 0) {
      i += 2;  // a soft line break
    } else if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
               std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

PlValue EncodeBase64(SuppliedCall& call) {
  return RawResult(call, Base64Encode(RawArgument(call, 0)));
}

PlValue DecodeBase64(SuppliedCall& call) {
  return RawResult(call, Base64Decode(RawArgument(call, 0)));
}

PlValue EncodeQuotedPrintable(SuppliedCall& call) {
  return RawResult(call, QuotedPrintableEncode(RawArgument(call, 0)));
}

PlValue DecodeQuotedPrintable(SuppliedCall& call) {
  return RawResult(call, QuotedPrintableDecode(RawArgument(call, 0)));
}

// TEXT_ENCODE and TEXT_DECODE(buf, encode_charset, encoding): the text in
// the character set (the database's when NULL), base64 or quoted-printable
// (the default).
int Encoding(const SuppliedCall& call) {
  const int encoding = call.args[2].IsNull() ? kQuotedPrintable
                                             : static_cast<int>(std::trunc(NumberOf(call.args[2])));
  if (encoding != kBase64 && encoding != kQuotedPrintable)
    RawValueError();
  return encoding;
}

std::string Charset(const SuppliedCall& call) {
  const std::string charset = KnownCharacterSet(SuppliedText(call, 1));
  if (charset.empty())
    RawValueError();
  return charset;
}

PlValue TextEncode(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  bool lossy = false;
  const std::string bytes = EncodeText(SuppliedText(call, 0), Charset(call), lossy);
  return PlValue::Text(Encoding(call) == kBase64 ? Base64Encode(bytes)
                                                 : QuotedPrintableEncode(bytes));
}

PlValue TextDecode(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  const std::string text = SuppliedText(call, 0);
  const std::string bytes =
      Encoding(call) == kBase64 ? Base64Decode(text) : QuotedPrintableDecode(text);
  std::string decoded;
  bool lossy = false;
  DecodeText(bytes, Charset(call), decoded, lossy);
  return PlValue::Text(decoded);
}

PlValue Base64Constant(SuppliedCall&) {
  return PlValue::Number(kBase64);
}
PlValue QuotedPrintableConstant(SuppliedCall&) {
  return PlValue::Number(kQuotedPrintable);
}

constexpr SuppliedParam Optional(const char* name) {
  return {name, false, true};
}

}  // namespace

const std::vector<SuppliedRoutine>& UtlEncodeRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      RawFunction("UTL_ENCODE", "BASE64_ENCODE", {{"R"}}, EncodeBase64),
      RawFunction("UTL_ENCODE", "BASE64_DECODE", {{"R"}}, DecodeBase64),
      RawFunction("UTL_ENCODE", "QUOTED_PRINTABLE_ENCODE", {{"R"}}, EncodeQuotedPrintable),
      RawFunction("UTL_ENCODE", "QUOTED_PRINTABLE_DECODE", {{"R"}}, DecodeQuotedPrintable),
      {"UTL_ENCODE",
       "TEXT_ENCODE",
       true,
       {{"BUF"}, Optional("ENCODE_CHARSET"), Optional("ENCODING")},
       TextEncode},
      {"UTL_ENCODE",
       "TEXT_DECODE",
       true,
       {{"BUF"}, Optional("ENCODE_CHARSET"), Optional("ENCODING")},
       TextDecode},
      {"UTL_ENCODE", "BASE64", true, {}, Base64Constant},
      {"UTL_ENCODE", "QUOTED_PRINTABLE", true, {}, QuotedPrintableConstant},
  };
  return routines;
}

}  // namespace sandbox::plsql
