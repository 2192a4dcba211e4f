// The column part of the CREATE TABLE generator block: the cursors and
// variables it needs and the loop that writes one line per column (name,
// type as declared, DEFAULT, identity or virtual column clause, and the NOT
// NULL clause of the column's NOT NULL constraint). Templates as in
// DdlBlockPieces.h.
#pragma once

#include <string>

namespace ddl_block {

// Cursors col_cursor, nn_cursor and id_cursor and the column variables, for
// a server of release (see ServerRelease.h).
std::string ColumnDeclarations(int release);

// function ident_opt(x_options, x_key): one value of the dictionary's
// identity options text ("START WITH: 1, INCREMENT BY: 1, ...").
std::string IdentityOptionFunction();

// Opens col_cursor for lv_owner.lv_table_name and starts a loop that fetches
// each column into the column variables; the caller's lines and "end loop;"
// follow.
std::string ColumnFetchLoop();

// The loop over the columns of lv_owner.lv_table_name; the columns of an
// object table (lv_table_type set) are written without their types.
std::string ColumnLoop(int release);

}  // namespace ddl_block
