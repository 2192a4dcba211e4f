// The ROWID pseudo-column: SQLite's row number of a table row shown as
// Oracle's 18-character extended rowid text (data object, file, block and
// row, in Oracle's base-64 digits), so that it can be selected, compared
// and stored in a ROWID column as on Oracle.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace sandbox {

std::string RowIdText(std::int64_t rowNumber);
// The row number RowIdText shows as text; -1 for text it never gives.
std::int64_t RowNumberOf(const std::string& text);

// ora_rowid(rowid): the text of a row number; NULL stays NULL.
void RowIdFunction(sqlite3_context* context, int argc, sqlite3_value** argv);

}  // namespace sandbox
