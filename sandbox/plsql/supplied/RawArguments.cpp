// RAW arguments and results: hexadecimal text to bytes and back.
#include "sandbox/plsql/supplied/RawArguments.h"

#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql {

std::string RawArgument(const SuppliedCall& call, size_t i) {
  if (i >= call.args.size() || call.args[i].IsNull())
    return {};
  if (call.args[i].kind() == PlValue::Kind::Text)
    return RawBytes(call.args[i].text());
  return RawBytes(SuppliedText(call, i));
}

PlValue RawResult(SuppliedCall& call, const std::string& bytes) {
  if (bytes.size() > kMaxRawBytes)
    RawValueError();
  call.binaryResult = true;
  return PlValue::Text(RawHex(bytes));
}

void RawValueError() {
  throw MakeError(6502, "PL/SQL: numeric or value error");
}

}  // namespace sandbox::plsql
