// The rows of SYS.ALL_PROCEDURES: one for each procedure, function and
// package, and one for each subprogram a package declares, with the unit's
// AUTHID. Read from the unit's tokens when it is created.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

// Replaces the rows of owner.name (a PROCEDURE, FUNCTION or PACKAGE whose
// text starts at token begin of tokens).
bool RecordProcedures(Catalog& catalog, const std::vector<SqlToken>& tokens, std::size_t begin,
                      const std::string& owner, const std::string& name, const std::string& type,
                      OraError& error);

bool ForgetProcedures(Catalog& catalog, const std::string& owner, const std::string& name,
                      OraError& error);

}  // namespace sandbox
