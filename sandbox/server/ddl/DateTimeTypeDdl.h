// The column types whose names run over several words or carry their
// precision inside the name: TIMESTAMP[(p)] [WITH [LOCAL] TIME ZONE],
// INTERVAL YEAR[(p)] TO MONTH and INTERVAL DAY[(p)] TO SECOND[(s)].
#pragma once

#include <string>

#include "sandbox/server/sql/TokenStream.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

// Reads the rest of such a type after its first word (TIMESTAMP or INTERVAL).
bool ReadDateTimeType(TokenStream& in, const std::string& firstWord, OracleType& type,
                      OraError& error);

}  // namespace sandbox
