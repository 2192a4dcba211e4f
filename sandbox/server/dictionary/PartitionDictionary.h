// The dictionary of partitioned tables and indexes, LOB columns and the
// table and index options that came with later releases (row movement,
// compression, index visibility): the ALL_PART_*, ALL_TAB_[SUB]PARTITIONS,
// ALL_IND_[SUB]PARTITIONS and ALL_LOBS tables with their USER_ and DBA_ forms.
#pragma once

#include <sqlite3.h>

#include <string>

namespace sandbox {

// Creates what is missing of it, also in a database made by an older build
// (whose ALL_TABLES and ALL_INDEXES then get the new columns). False with
// message on failure.
bool CreatePartitionDictionary(sqlite3* db, std::string& message);

// Names of the views defined here.
bool IsPartitionDictionaryName(const std::string& upperName);

}  // namespace sandbox
