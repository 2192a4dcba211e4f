// The PL/SQL block that prints the ALTER TABLE ... ADD statements of one
// table's constraints: binds :bind1 owner, :bind2 table, :bind3 "InclStorage",
// :bind4 "InclPct". A schema replays without error only when every key exists
// before the foreign keys that reference it, so the block prints either the
// keys and checks of the table (primary key first, then unique, then check)
// or its foreign keys, and the constraint phase asks for the keys and checks
// of all tables before any foreign key.
#pragma once

#include <string>

enum class ConstraintKinds { KeysAndChecks, ForeignKeys };

// release: the server's, as ServerRelease gives it.
std::string ConstraintDdlBlock(ConstraintKinds kinds, int release);
