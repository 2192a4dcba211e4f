// UTL_I18N's conversions between text and the bytes of a character set
// (the database's, AL32UTF8, when none is named).
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/CharacterSets.h"
#include "sandbox/plsql/supplied/RawArguments.h"

namespace sandbox::plsql {

namespace {

// The character set argument i names; NULL is the database's. A name the
// sandbox does not know is refused as Oracle refuses an invalid one.
std::string CharsetArgument(const SuppliedCall& call, size_t i) {
  const std::string charset = KnownCharacterSet(SuppliedText(call, i));
  if (charset.empty())
    throw MakeError(1482, "unsupported character set");
  return charset;
}

PlValue StringToRaw(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  bool lossy = false;
  return RawResult(call, EncodeText(SuppliedText(call, 0), CharsetArgument(call, 1), lossy));
}

PlValue RawToChar(SuppliedCall& call) {
  if (call.args[0].IsNull())
    return {};
  std::string text;
  bool lossy = false;
  DecodeText(RawArgument(call, 0), CharsetArgument(call, 1), text, lossy);
  return PlValue::Text(text);
}

}  // namespace

const std::vector<SuppliedRoutine>& UtlI18nRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      RawFunction("UTL_I18N", "STRING_TO_RAW", {{"DATA"}, {"DST_CHARSET", false, true}},
                  StringToRaw),
      {"UTL_I18N", "RAW_TO_CHAR", true, {{"DATA"}, {"SRC_CHARSET", false, true}}, RawToChar},
  };
  return routines;
}

}  // namespace sandbox::plsql
