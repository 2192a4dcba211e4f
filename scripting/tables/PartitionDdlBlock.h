// The PL/SQL pieces that print partitioning, LOB storage and the table
// options of later releases (COMPRESS, ROW MOVEMENT) in the CREATE TABLE
// block, and the partitioning, REVERSE, NOLOGGING and INVISIBLE of an index
// in the CREATE INDEX block. Every piece is empty for a release whose
// dictionary has no such thing, so older servers get the text they got.
#pragma once

#include <string>

namespace ddl_block {

// Cursors of the key columns and function key_list(owner, name, 'TABLE' |
// 'INDEX', sub) giving "(A, B)"; bound_text(type, high value) giving
// " VALUES LESS THAN (...)" or " VALUES (...)". After NameQuoteFunction.
std::string PartitionKeyDeclarations(int release);
std::string PartitionKeyFunctions(int release);

// Declarations of the table block: its partitions, subpartitions and LOBs.
std::string TablePartitionDeclarations(int release);

// Printed after the table's physical clauses (lv_owner, lv_table_name,
// lv_compression, lv_compress_for, lv_row_movement, lv_temporary set):
// COMPRESS, LOB storage, PARTITION BY with every partition and
// subpartition, ENABLE ROW MOVEMENT.
std::string TableOptionClauses(int release);

// A table partitioned by reference needs its foreign key, and its parent
// the key that foreign key refers to, when it is created: the table block
// writes both into CREATE TABLE (cursors, function cons_cols and the lines
// after the columns) and the constraint block leaves them out.
std::string ReferenceKeyDeclarations(int release);
std::string ReferenceKeyFunctions(int release);
std::string ReferenceKeyLines(int release);
// Conditions on the constraint block's all_constraints c.
std::string ReferenceKeyExclusion(int release);

// Declarations of the index block's partition cursors.
std::string IndexPartitionDeclarations(int release);

// Printed after the index's attributes (lv_owner, lv_index_name,
// lv_index_type, lv_logging, lv_visibility set): REVERSE, NOLOGGING (with
// the storage clauses), INVISIBLE and LOCAL or GLOBAL PARTITION BY.
std::string IndexOptionClauses(int release);

}  // namespace ddl_block
