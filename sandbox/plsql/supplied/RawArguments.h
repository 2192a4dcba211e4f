// RAW arguments and results of the supplied packages: a RAW is held as the
// hexadecimal text of its bytes; these give and take the bytes.
#pragma once

#include <string>

#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

// Oracle's longest RAW (and VARCHAR2) in PL/SQL.
inline constexpr std::size_t kMaxRawBytes = 32767;

// The bytes of RAW argument i; empty for NULL. Character text is read as
// hexadecimal digits, as Oracle converts it (ORA-01465 otherwise).
std::string RawArgument(const SuppliedCall& call, size_t i);
// A RAW result of bytes, NULL when there are none; ORA-06502 for more than
// a RAW holds.
PlValue RawResult(SuppliedCall& call, const std::string& bytes);
// ORA-06502 as the RAW routines raise it.
[[noreturn]] void RawValueError();

}  // namespace sandbox::plsql
