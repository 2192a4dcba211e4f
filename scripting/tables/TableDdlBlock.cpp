// The CREATE TABLE generator block. The cursors look the table and its columns
// up by their exact dictionary names, so that a quoted lower-case table gets
// its columns; names are printed through qn. A column's NOT NULL comes from
// its NOT NULL constraint, with that constraint's name and state, so that a
// replay adds no constraint and loses none.
#include "scripting/tables/TableDdlBlock.h"

#include "scripting/tables/DdlBlockPieces.h"

namespace {

std::string Declarations() {
  return "declare\n"
         "\tcursor tab_cursor is\n"
         "\t\tselect owner, table_name, pct_free, pct_used, ini_trans, max_trans,\n"
         "\t\t\ttablespace_name, initial_extent, next_extent, min_extents, max_extents,\n"
         "\t\t\tfreelists, freelist_groups, pct_increase\n"
         "\t\tfrom all_tables\n"
         "\t\twhere owner != 'SYS' AND owner = :bind1 AND table_name = :bind2\n"
         "\t\torder by owner, table_name;\n"
         "\tcursor col_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect owner, column_name, upper(data_type), data_length, data_precision,\n"
         "\t\t\tdata_scale, nullable, default_length, data_default, column_id,\n"
         "\t\t\tchar_length, char_used\n"
         "\t\tfrom all_tab_columns\n"
         "\t\twhere table_name = c_tab and owner = c_own\n"
         "\t\torder by column_id;\n"
         // Check constraints on one column; the block picks the one whose
         // condition is exactly that column IS NOT NULL (search_condition is
         // a LONG, which SQL cannot compare).
         "\tcursor nn_cursor (c_own varchar2, c_tab varchar2, c_col varchar2) is\n"
         "\t\tselect c.constraint_name, c.generated, c.status, c.deferrable, c.deferred,\n"
         "\t\t\tc.validated, c.search_condition\n"
         "\t\tfrom all_constraints c, all_cons_columns k\n"
         "\t\twhere k.owner = c_own and k.table_name = c_tab and k.column_name = c_col\n"
         "\t\t\tand c.owner = k.owner and c.constraint_name = k.constraint_name\n"
         "\t\t\tand c.table_name = k.table_name and c.constraint_type = 'C';\n" +
         ddl_block::TableStorageVariables() +
         "\tlv_col_owner\t\tall_tab_columns.owner%%TYPE;\n"
         "\tlv_column_name\t\tall_tab_columns.column_name%%TYPE;\n"
         "\tlv_data_type\t\tall_tab_columns.data_type%%TYPE;\n"
         "\tlv_data_length\t\tall_tab_columns.data_length%%TYPE;\n"
         "\tlv_data_precision\tall_tab_columns.data_precision%%TYPE;\n"
         "\tlv_data_scale\t\tall_tab_columns.data_scale%%TYPE;\n"
         "\tlv_nullable\t\tall_tab_columns.nullable%%TYPE;\n"
         "\tlv_default_length\tall_tab_columns.default_length%%TYPE;\n"
         "\tlv_data_default\t\tall_tab_columns.data_default%%TYPE;\n"
         "\tlv_column_id\t\tall_tab_columns.column_id%%TYPE;\n"
         "\tlv_char_length\t\tall_tab_columns.char_length%%TYPE;\n"
         "\tlv_char_used\t\tall_tab_columns.char_used%%TYPE;\n"
         "\tlv_null_clause\t\tvarchar2(400);\n"
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

// The length of a character column in the units it was declared in.
std::string ColumnType() {
  return "\t\t\ta_lin := wri(a_lin, '\t' || lv_data_type, 0);\n"
         "\t\t\tif lv_data_type in ('CHAR', 'VARCHAR2') and lv_char_used = 'C' then\n"
         "\t\t\t\ta_lin := wri(a_lin, '(' || lv_char_length || ' CHAR)', 0);\n"
         "\t\t\telsif lv_data_type in ('NCHAR', 'NVARCHAR2') then\n"
         "\t\t\t\ta_lin := wri(a_lin, '(' || lv_char_length || ')', 0);\n"
         "\t\t\telsif lv_data_type in ('CHAR', 'VARCHAR2', 'RAW') then\n"
         "\t\t\t\ta_lin := wri(a_lin, '(' || lv_data_length || ')', 0);\n"
         "\t\t\tend if;\n"
         "\t\t\tif (lv_data_type = 'NUMBER' and nvl(lv_data_precision, 0) != 0)\n"
         "\t\t\t\tor lv_data_type = 'FLOAT' then\n"
         "\t\t\t\tif nvl(lv_data_scale, 0) = 0 then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '(' || lv_data_precision || ')', 0);\n"
         "\t\t\t\telse\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '(' || lv_data_precision || ',' || lv_data_scale || "
         "')', 0);\n"
         "\t\t\t\tend if;\n"
         // INTEGER and NUMBER(*,0) hold no fractions; NUMBER alone would.
         "\t\t\telsif lv_data_type = 'NUMBER' and lv_data_scale is not null then\n"
         "\t\t\t\ta_lin := wri(a_lin, '(*,' || lv_data_scale || ')', 0);\n"
         "\t\t\tend if;\n";
}

std::string NullClause() {
  return "\t\t\tlv_null_clause := '\t    NULL';\n"
         "\t\t\tfor r_nn in nn_cursor(lv_owner, lv_table_name, lv_column_name) loop\n"
         "\t\t\t\tif r_nn.search_condition = '\"' || lv_column_name || '\" IS NOT NULL' then\n"
         "\t\t\t\t\tif r_nn.generated = 'GENERATED NAME' then\n"
         "\t\t\t\t\t\tlv_null_clause := '\tNOT NULL';\n"
         "\t\t\t\t\telse\n"
         "\t\t\t\t\t\tlv_null_clause := '\tCONSTRAINT ' || qn(r_nn.constraint_name) || "
         "' NOT NULL';\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\tlv_null_clause := rtrim(lv_null_clause || ' ' || cstate(r_nn.deferrable,\n"
         "\t\t\t\t\t\tr_nn.deferred, r_nn.status, r_nn.validated));\n"
         "\t\t\t\tend if;\n"
         "\t\t\tend loop;\n"
         "\t\t\ta_lin := wri(a_lin, lv_null_clause, 1);\n";
}

std::string ColumnLoop() {
  return "\t\topen col_cursor(lv_owner, lv_table_name);\n"
         "\t\tloop\n"
         "\t\t\tfetch col_cursor into lv_col_owner, lv_column_name, lv_data_type,\n"
         "\t\t\t\tlv_data_length, lv_data_precision, lv_data_scale, lv_nullable,\n"
         "\t\t\t\tlv_default_length, lv_data_default, lv_column_id, lv_char_length,\n"
         "\t\t\t\tlv_char_used;\n"
         "\t\t\texit when col_cursor%%notfound;\n"
         "\t\t\tif lv_column_id <> 1 then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t,', 0);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t ', 0);\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, qn(lv_column_name), 0);\n" +
         ColumnType() +
         "\t\t\tif lv_default_length != 0 then\n"
         "\t\t\t\ta_lin := wri(a_lin, ' DEFAULT ', 0);\n"
         // The dictionary keeps the blanks that followed the default;
         // written back they would grow with every round of scripting.
         "\t\t\t\ta_lin := wri(a_lin, rtrim(lv_data_default, ' ' || chr(9) || chr(10) || "
         "chr(13)), 0);\n"
         "\t\t\tend if;\n" +
         NullClause() +
         "\t\tend loop;\n"
         "\t\tclose col_cursor;\n";
}

std::string PhysicalClauses() {
  return "\t\tif L_pct = 'Y' then\n"
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
         "\t\tend if;\n";
}

}  // namespace

std::string TableDdlBlock() {
  return Declarations() + ddl_block::LineWriterFunction() + ddl_block::NameQuoteFunction() +
         ddl_block::ConstraintStateFunction() + SizeTextFunction() +
         "begin\n"
         "\ta_lin := '';\n"
         "\topen tab_cursor;\n"
         "\tloop\n"
         "\t\tfetch tab_cursor into lv_owner, lv_table_name, lv_pct_free, lv_pct_used,\n"
         "\t\t\tlv_ini_trans, lv_max_trans, lv_tablespace_name, lv_initial_extent,\n"
         "\t\t\tlv_next_extent, lv_min_extents, lv_max_extents, lv_freelists,\n"
         "\t\t\tlv_freelist_groups, lv_pct_increase;\n"
         "\t\texit when tab_cursor%%notfound;\n"
         "\t\ta_lin := wri(a_lin, 'CREATE TABLE ', 0);\n"
         "\t\ta_lin := wri(a_lin, qn(lv_table_name), 0);\n"
         "\t\ta_lin := wri(a_lin, ' (', 1);\n"
         "\t\tif to_char(lv_ini_trans) = '0' then\n"
         "\t\t\tlv_ini_trans := 1;\n"
         "\t\tend if;\n"
         "\t\tif to_char(lv_max_trans) = '0' then\n"
         "\t\t\tlv_max_trans := 1;\n"
         "\t\tend if;\n" +
         ColumnLoop() + "\t\ta_lin := wri(a_lin, ')', 1);\n" + PhysicalClauses() +
         "\t\ta_lin := wri(a_lin, '/', 1);\n"
         "\tend loop;\n"
         "\tclose tab_cursor;\n" +
         ddl_block::ExceptionSection();
}
