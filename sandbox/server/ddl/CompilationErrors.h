// The compile check of stored units and the ALL_ERRORS rows it leaves. The
// sandbox does not compile PL/SQL: a unit counts as compiled when its text is
// complete and, for a body, its declaration exists. A unit that fails is still
// stored (INVALID) with its errors listed, as Oracle does; a later successful
// compilation or a drop clears them.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

struct CompilationError {
  long long line = 1;      // from 1, within the stored text
  long long position = 1;  // column from 1
  int number = 0;          // PLS-nnnnn
  std::string text;        // "PLS-nnnnn: ..."
};

// Line and column (from 1) of offset in text.
void LineAndColumn(const std::string& text, std::size_t offset, long long& line, long long& column);

// The errors of the unit name whose text starts at token textBegin of sql;
// nameToken is where its name begins, specMissing tells that a body has no
// declaration.
std::vector<CompilationError> CheckUnit(const std::string& sql, const std::vector<SqlToken>& tokens,
                                        std::size_t textBegin, std::size_t nameToken,
                                        const std::string& name, const std::string& type,
                                        bool specMissing);

// Makes errors the unit's ALL_ERRORS rows (none clears them).
bool RecordUnitErrors(Catalog& catalog, const std::string& owner, const std::string& name,
                      const std::string& type, const std::vector<CompilationError>& errors,
                      OraError& error);

}  // namespace sandbox
