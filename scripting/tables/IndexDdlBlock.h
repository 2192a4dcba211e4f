// The PL/SQL block that prints the CREATE INDEX statements of one table's
// indexes, leaving the indexes of its primary and unique keys to the
// constraint block: binds :bind1 owner, :bind2 table, :bind3 "InclStorage",
// :bind4 "InclPct".
#pragma once

#include <string>
#include <vector>

// versionClass is the session's "7", "8.0" or "8": the first two have no
// index compression, descending or function-based columns and index types
// in their dictionary. indexNames, when given, restricts the block to those
// indexes. Bitmap indexes stay bitmap; a function-based column is written
// as its expression, a descending one with DESC. release (ServerRelease.h)
// adds what later dictionaries keep: partitioning, REVERSE, NOLOGGING and
// INVISIBLE.
std::string IndexDdlBlock(const std::string& versionClass, int release,
                          const std::vector<std::string>* indexNames);
