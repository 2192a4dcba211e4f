// The PL/SQL block that prints the ALTER TABLE ... ADD statements of one
// table's constraints, primary key first, then unique, foreign key and check:
// binds :bind1 owner, :bind2 table, :bind3 "InclStorage", :bind4 "InclPct".
#pragma once

#include <string>

std::string ConstraintDdlBlock();
