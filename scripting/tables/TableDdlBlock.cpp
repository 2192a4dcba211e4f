// The CREATE TABLE generator block. The cursors look the table and its columns
// up by their exact dictionary names, so that a quoted lower-case table gets
// its columns; names are printed through qn. A column's NOT NULL comes from
// its NOT NULL constraint, with that constraint's name and state, so that a
// replay adds no constraint and loses none. Global temporary and
// index-organized tables keep their kind, and the table's and its columns'
// comments follow the table as COMMENT statements.
#include "scripting/tables/TableDdlBlock.h"

#include "scripting/tables/DdlBlockPieces.h"
#include "scripting/tables/PartitionDdlBlock.h"
#include "scripting/tables/ServerRelease.h"
#include "scripting/tables/TableColumnDdl.h"

namespace {

// The select-list items that the later table options are fetched from.
std::string TableOptionColumns(int release) {
  using namespace dictionary_since;
  return std::string(",\n\t\t\tpartitioned, row_movement, logging, ") +
         (ReleaseHas(release, TableCompression) ? "compression, " : "'DISABLED' compression, ") +
         (ReleaseHas(release, IntervalPartitioning) ? "compress_for" : "null compress_for");
}

std::string Declarations(int release) {
  using namespace dictionary_since;
  return std::string(
             "declare\n"
             "\tcursor tab_cursor is\n"
             "\t\tselect owner, table_name, pct_free, pct_used, ini_trans, max_trans,\n"
             "\t\t\ttablespace_name, initial_extent, next_extent, min_extents, "
             "max_extents,\n"
             "\t\t\tfreelists, freelist_groups, pct_increase, ") +
         (ReleaseHas(release, TemporaryTables) ? "temporary, duration, "
                                               : "'N' temporary, null duration, ") +
         (ReleaseHas(release, ConstraintStates) ? "iot_type" : "null iot_type") +
         (ReleaseHas(release, Partitioning) ? TableOptionColumns(release) : std::string()) +
         // Object tables are in ALL_ALL_TABLES with their type, not in ALL_TABLES.
         (ReleaseHas(release, ObjectTypes)
              ? ",\n\t\t\ttable_type_owner, table_type, object_id_type\n\t\tfrom all_all_tables\n"
              : ",\n\t\t\tnull table_type_owner, null table_type, null object_id_type\n"
                "\t\tfrom all_tables\n") +
         "\t\twhere owner != 'SYS' AND owner = :bind1 AND table_name = :bind2\n"
         "\t\torder by owner, table_name;\n"
         // An index-organized table is created with its primary key.
         "\tcursor key_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect constraint_name, generated from all_constraints\n"
         "\t\twhere owner = c_own and table_name = c_tab and constraint_type = 'P';\n"
         "\tcursor keycol_cursor (c_own varchar2, c_tab varchar2, c_key varchar2) is\n"
         "\t\tselect column_name from all_cons_columns\n"
         "\t\twhere owner = c_own and table_name = c_tab and constraint_name = c_key\n"
         "\t\torder by position;\n" +
         (ReleaseHas(release, ObjectTypes)
              ? "\tcursor nt_cursor (c_own varchar2, c_tab varchar2) is\n"
                "\t\tselect table_name, parent_table_column, return_type from all_nested_tables\n"
                "\t\twhere owner = c_own and parent_table_name = c_tab\n"
                "\t\torder by parent_table_column;\n"
              : "") +
         "\tcursor tcom_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect comments from all_tab_comments\n"
         "\t\twhere owner = c_own and table_name = c_tab and comments is not null;\n"
         "\tcursor ccom_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect column_name, comments from all_col_comments\n"
         "\t\twhere owner = c_own and table_name = c_tab and comments is not null\n"
         "\t\torder by column_name;\n" +
         ddl_block::ColumnDeclarations(release) + ddl_block::TableStorageVariables() +
         ddl_block::PartitionKeyDeclarations(release) +
         ddl_block::TablePartitionDeclarations(release) +
         ddl_block::ReferenceKeyDeclarations(release) +
         "\tlv_temporary\t\tvarchar2(1);\n"
         "\tlv_duration\t\tvarchar2(15);\n"
         "\tlv_iot_type\t\tvarchar2(12);\n"
         "\tlv_table_type_owner\tvarchar2(128);\n"
         "\tlv_table_type\t\tvarchar2(128);\n"
         "\tlv_oid_type\t\tvarchar2(16);\n"
         "\tlv_key_columns\t\tvarchar2(32767);\n"
         "\tinitial_extent_size\tvarchar2(16);\n"
         "\tnext_extent_size\tvarchar2(16);\n" +
         ddl_block::LineVariables();
}

std::string SizeTextFunction() {
  return "\tfunction size_text(x_size in number) return varchar2 is\n"
         "\tbegin\n"
         "\t\tif mod(x_size, 1048576) = 0 then\n"
         "\t\t\treturn to_char(x_size / 1048576) || 'M';\n"
         "\t\tend if;\n"
         "\t\tif mod(x_size, 1024) = 0 then\n"
         "\t\t\treturn to_char(x_size / 1024) || 'K';\n"
         "\t\tend if;\n"
         "\t\treturn to_char(x_size);\n"
         "\tend size_text;\n";
}

// An index-organized table is created with its primary key, and so is an
// object table whose rows' identifiers are their keys.
std::string IndexOrganizedKey() {
  return "\t\tif lv_iot_type = 'IOT' or lv_oid_type = 'USER-DEFINED' then\n"
         "\t\t\tfor r_key in key_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\t\tlv_key_columns := '';\n"
         "\t\t\t\tfor r_col in keycol_cursor(lv_owner, lv_table_name, r_key.constraint_name) "
         "loop\n"
         "\t\t\t\t\tif lv_key_columns is not null then\n"
         "\t\t\t\t\t\tlv_key_columns := lv_key_columns || ', ';\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\tlv_key_columns := lv_key_columns || qn(r_col.column_name);\n"
         "\t\t\t\tend loop;\n"
         "\t\t\t\tif r_key.generated = 'GENERATED NAME' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\t,PRIMARY KEY (' || lv_key_columns || ')', 1);\n"
         "\t\t\t\telse\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\t,CONSTRAINT ' || qn(r_key.constraint_name), 0);\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' PRIMARY KEY (' || lv_key_columns || ')', 1);\n"
         "\t\t\t\tend if;\n"
         "\t\t\tend loop;\n"
         "\t\tend if;\n";
}

// OF type of an object table, the type qualified when another schema has it.
std::string ObjectTableType() {
  return "\t\tif lv_table_type is not null then\n"
         "\t\t\ta_lin := wri(a_lin, ' OF ', 0);\n"
         "\t\t\tif lv_table_type_owner != lv_owner then\n"
         "\t\t\t\ta_lin := wri(a_lin, qn(lv_table_type_owner) || '.', 0);\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, qn(lv_table_type), 0);\n"
         "\t\tend if;\n";
}

// NESTED TABLE column STORE AS name of every nested table column: Oracle
// refuses such a column without it.
std::string NestedTableClauses(int release) {
  if (!ReleaseHas(release, dictionary_since::ObjectTypes)) {
    return {};
  }
  return "\t\tfor r_nt in nt_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\ta_lin := wri(a_lin, 'NESTED TABLE ' || qn(r_nt.parent_table_column) ||\n"
         "\t\t\t\t' STORE AS ' || qn(r_nt.table_name), 0);\n"
         "\t\t\tif r_nt.return_type = 'LOCATOR' then\n"
         "\t\t\t\ta_lin := wri(a_lin, ' RETURN AS LOCATOR', 0);\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, '', 1);\n"
         "\t\tend loop;\n";
}

// The physical clauses belong to ordinary heap tables only: a temporary
// table has no segment of its own and an index-organized one keeps them on
// its index.
std::string PhysicalClauses(int release) {
  return "\t\tif lv_iot_type = 'IOT' then\n"
         "\t\t\ta_lin := wri(a_lin, 'ORGANIZATION INDEX', 1);\n"
         "\t\tend if;\n"
         "\t\tif lv_temporary = 'Y' then\n"
         "\t\t\tif lv_duration = 'SYS$SESSION' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'ON COMMIT PRESERVE ROWS', 1);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, 'ON COMMIT DELETE ROWS', 1);\n"
         "\t\t\tend if;\n"
         "\t\telsif lv_iot_type is null" +
         std::string(ReleaseHas(release, dictionary_since::Partitioning)
                         ? " and nvl(lv_partitioned, 'NO') = 'NO'"
                         : "") +
         " then\n"
         "\t\tif L_pct = 'Y' then\n"
         "\t\t\ta_lin := wri(a_lin, 'PCTFREE  ' || lv_pct_free, 1);\n"
         "\t\t\ta_lin := wri(a_lin, 'PCTUSED  ' || lv_pct_used, 1);\n"
         "\t\t\ta_lin := wri(a_lin, 'INITRANS ' || lv_ini_trans, 1);\n"
         "\t\t\ta_lin := wri(a_lin, 'MAXTRANS ' || lv_max_trans, 1);\n"
         "\t\tend if;\n"
         "\t\tif L_storage = 'Y' then\n"
         "\t\t\ta_lin := wri(a_lin, 'TABLESPACE ' || lv_tablespace_name, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '    STORAGE (', 1);\n"
         "\t\t\tinitial_extent_size := size_text(lv_initial_extent);\n"
         "\t\t\tnext_extent_size := size_text(lv_next_extent);\n"
         "\t\t\ta_lin := wri(a_lin, '\tINITIAL ' || initial_extent_size, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\tNEXT ' || next_extent_size, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\tMINEXTENTS ' || lv_min_extents, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\tMAXEXTENTS ' || lv_max_extents, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\tPCTINCREASE ' || lv_pct_increase, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\tFREELISTS ' || lv_freelists, 0);\n"
         "\t\t\ta_lin := wri(a_lin, ' FREELIST GROUPS ' || lv_freelist_groups, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '        )', 1);\n"
         "\t\tend if;\n"
         "\t\tend if;\n";
}

// procedure cmt(x_head, x_text): COMMENT x_head x_text as one line when the
// text has no line break and is short, else as an EXECUTE IMMEDIATE of the
// statement built from quoted pieces: a command-line SQL tool would cut a
// literal whose lines are blank, only "/" or ".", end in ";" or begin with
// "#".
std::string CommentProcedure() {
  return "\tprocedure cmt(x_head in varchar2, x_text in varchar2) is\n"
         "\tbegin\n"
         "\t\tif instr(x_text, chr(10)) = 0 and instr(x_text, chr(13)) = 0\n"
         "\t\t\tand length(x_text) <= 250 then\n"
         "\t\t\ta_lin := wri(a_lin, x_head, 0);\n"
         "\t\t\ta_lin := wri(a_lin, lit(x_text), 1);\n"
         "\t\t\ta_lin := wri(a_lin, '/', 1);\n"
         "\t\t\treturn;\n"
         "\t\tend if;\n"
         "\t\ta_lin := wri(a_lin, 'BEGIN', 1);\n"
         "\t\ta_lin := wri(a_lin, 'EXECUTE IMMEDIATE ' || lit(x_head || ''''), 1);\n"
         "\t\tpcs(replace(x_text, '''', ''''''));\n"
         "\t\ta_lin := wri(a_lin, '|| '''''''';', 1);\n"
         "\t\ta_lin := wri(a_lin, 'END;', 1);\n"
         "\t\ta_lin := wri(a_lin, '/', 1);\n"
         "\tend cmt;\n";
}

// A default whose lines a command-line SQL tool would take for its own
// cannot stand in the CREATE TABLE: it is set after it by an ALTER TABLE
// run with EXECUTE IMMEDIATE, the expression in quoted pieces.
std::string LateDefaultFunction() {
  return "\tfunction late_default(x_default in varchar2, x_on_null in varchar2) return boolean "
         "is\n"
         "\tbegin\n"
         "\t\treturn nvl(x_on_null, 'NO') != 'YES' and not plain_lines(\n"
         "\t\t\trtrim(x_default, ' ' || chr(9) || chr(10) || chr(13)), 32767);\n"
         "\tend late_default;\n";
}

std::string LateDefaults() {
  return ddl_block::ColumnFetchLoop() +
         "\t\t\tif lv_default_length != 0 and nvl(lv_virtual, 'NO') != 'YES'\n"
         "\t\t\t\tand nvl(lv_identity, 'NO') != 'YES' and late_default(lv_data_default, "
         "lv_on_null) then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'BEGIN', 1);\n"
         "\t\t\t\ta_lin := wri(a_lin, 'EXECUTE IMMEDIATE ' || lit('ALTER TABLE ' ||\n"
         "\t\t\t\t\tqn(lv_table_name) || ' MODIFY (' || qn(lv_column_name) || ' DEFAULT '), 1);\n"
         "\t\t\t\tpcs(rtrim(lv_data_default, ' ' || chr(9) || chr(10) || chr(13)));\n"
         "\t\t\t\ta_lin := wri(a_lin, '|| '')'';', 1);\n"
         "\t\t\t\ta_lin := wri(a_lin, 'END;', 1);\n"
         "\t\t\t\ta_lin := wri(a_lin, '/', 1);\n"
         "\t\t\tend if;\n"
         "\t\tend loop;\n"
         "\t\tclose col_cursor;\n";
}

std::string Comments() {
  return "\t\tfor r_com in tcom_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\tcmt('COMMENT ON TABLE ' || qn(lv_table_name) || ' IS ', r_com.comments);\n"
         "\t\tend loop;\n"
         "\t\tfor r_com in ccom_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\tcmt('COMMENT ON COLUMN ' || qn(lv_table_name) || '.' ||\n"
         "\t\t\t\tqn(r_com.column_name) || ' IS ', r_com.comments);\n"
         "\t\tend loop;\n";
}

}  // namespace

std::string TableDdlBlock(int release) {
  return Declarations(release) + ddl_block::LineWriterFunction() + ddl_block::NameQuoteFunction() +
         ddl_block::PartitionKeyFunctions(release) + ddl_block::ReferenceKeyFunctions(release) +
         ddl_block::ConstraintStateFunction() + ddl_block::IdentityOptionFunction() +
         SizeTextFunction() + ddl_block::LiteralFunction() + ddl_block::PiecesProcedure() +
         ddl_block::PlainLinesFunction() + LateDefaultFunction() + CommentProcedure() +
         "begin\n"
         "\ta_lin := '';\n"
         "\topen tab_cursor;\n"
         "\tloop\n"
         "\t\tfetch tab_cursor into lv_owner, lv_table_name, lv_pct_free, lv_pct_used,\n"
         "\t\t\tlv_ini_trans, lv_max_trans, lv_tablespace_name, lv_initial_extent,\n"
         "\t\t\tlv_next_extent, lv_min_extents, lv_max_extents, lv_freelists,\n"
         "\t\t\tlv_freelist_groups, lv_pct_increase, lv_temporary, lv_duration, lv_iot_type" +
         std::string(ReleaseHas(release, dictionary_since::Partitioning)
                         ? ",\n\t\t\tlv_partitioned, lv_row_movement, lv_logging, lv_compression,\n"
                           "\t\t\tlv_compress_for"
                         : "") +
         ",\n\t\t\tlv_table_type_owner, lv_table_type, lv_oid_type;\n"
         "\t\texit when tab_cursor%%notfound;\n"
         "\t\tif lv_temporary = 'Y' then\n"
         "\t\t\ta_lin := wri(a_lin, 'CREATE GLOBAL TEMPORARY TABLE ', 0);\n"
         "\t\telse\n"
         "\t\t\ta_lin := wri(a_lin, 'CREATE TABLE ', 0);\n"
         "\t\tend if;\n"
         "\t\ta_lin := wri(a_lin, qn(lv_table_name), 0);\n" +
         ObjectTableType() +
         "\t\ta_lin := wri(a_lin, ' (', 1);\n"
         "\t\tif to_char(lv_ini_trans) = '0' then\n"
         "\t\t\tlv_ini_trans := 1;\n"
         "\t\tend if;\n"
         "\t\tif to_char(lv_max_trans) = '0' then\n"
         "\t\t\tlv_max_trans := 1;\n"
         "\t\tend if;\n" +
         ddl_block::ColumnLoop(release) + IndexOrganizedKey() +
         ddl_block::ReferenceKeyLines(release) + "\t\ta_lin := wri(a_lin, ')', 1);\n" +
         "\t\tif lv_oid_type = 'USER-DEFINED' then\n"
         "\t\t\ta_lin := wri(a_lin, 'OBJECT IDENTIFIER IS PRIMARY KEY', 1);\n"
         "\t\tend if;\n" +
         PhysicalClauses(release) + NestedTableClauses(release) +
         ddl_block::TableOptionClauses(release) + "\t\ta_lin := wri(a_lin, '/', 1);\n" +
         LateDefaults() + Comments() +
         "\tend loop;\n"
         "\tclose tab_cursor;\n" +
         ddl_block::ExceptionSection();
}
