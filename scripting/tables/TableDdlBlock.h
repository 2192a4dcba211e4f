// The PL/SQL block that prints the CREATE TABLE statement of one table:
// binds :bind1 owner, :bind2 table, :bind3 "InclStorage", :bind4 "InclPct".
#pragma once

#include <string>

// release: the server's, as ServerRelease gives it; the block reads only
// what that release's dictionary has.
std::string TableDdlBlock(int release);
