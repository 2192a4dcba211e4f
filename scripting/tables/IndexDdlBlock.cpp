// The index generator block. Tables, indexes and columns are looked up by
// their exact dictionary names and printed through qn.
#include "scripting/tables/IndexDdlBlock.h"

#include "scripting/tables/DdlBlockPieces.h"
#include "scripting/tables/PartitionDdlBlock.h"
#include "scripting/tables/ServerRelease.h"

namespace {

// Compression, descending columns, function-based indexes and index types
// came with release 8i.
bool BeforeRelease8i(const std::string& versionClass) {
  return versionClass == "7" || versionClass == "8.0";
}

// A name as an SQL literal's content in a block template: a quote is doubled
// so that no name can end the literal early, a "%" so that the template's
// percent reduction gives it back unchanged.
std::string LiteralContent(const std::string& name) {
  std::string content;
  for (const char c : name) {
    content += c;
    if (c == '\'' || c == '%') {
      content += c;
    }
  }
  return content;
}

std::string NameFilter(const std::vector<std::string>* indexNames) {
  if (indexNames == nullptr) {
    return {};
  }
  std::string list;
  for (const std::string& name : *indexNames) {
    if (!list.empty()) {
      list += "', '";
    }
    list += LiteralContent(name);
  }
  // An empty list gives ('') and so no index at all.
  return "\tAND i.index_name in ('" + list + "')\n";
}

bool HasPartitioning(int release) {
  return ReleaseHas(release, dictionary_since::Partitioning);
}

// Logging and visibility, which the partitioning pieces print.
std::string OptionColumns(int release) {
  if (!HasPartitioning(release)) {
    return {};
  }
  return ReleaseHas(release, dictionary_since::IntervalPartitioning)
             ? "\t\ti.logging logg, i.visibility vis,\n"
             : "\t\ti.logging logg, 'VISIBLE' vis,\n";
}

std::string Declarations(const std::string& versionClass, int release,
                         const std::vector<std::string>* indexNames) {
  const bool noCompression = BeforeRelease8i(versionClass);
  return "declare\n"
         "\tcursor tab_cursor is\n"
         "\t\tselect t.owner a, t.table_name b, i.index_name c, i.pct_free d, t.pct_used e,\n"
         "\t\ti.ini_trans f, i.max_trans g, i.tablespace_name h, i.initial_extent i,\n"
         "\t\ti.next_extent j, i.min_extents k, i.max_extents l, i.freelists m,\n"
         "\t\ti.freelist_groups n, i.pct_increase o,\n" +
         std::string(noCompression ? "\t\t'DISABLED' compr,\n"
                                     "\t\t10 pref,\n"
                                     "\t\t'NORMAL' typ,\n"
                                   : "\t\ti.compression compr,\n"
                                     "\t\ti.prefix_length pref,\n"
                                     "\t\ti.index_type typ,\n") +
         OptionColumns(release) +
         "\t\tdecode(nvl(i.uniqueness,'NOT'),'UNIQUE','UNIQUE ','') uniq\n"
         "\tfrom " +
         ddl_block::TablesView(release) +
         " t,all_indexes i\n"
         "\twhere t.table_name = i.table_name AND t.owner = i.owner\n" +
         NameFilter(indexNames) +
         "\tAND t.owner = :bind1 AND t.table_name = :bind2\n"
         "\tAND i.index_name NOT IN (SELECT c.constraint_name from all_constraints c\n"
         "\t\tWHERE c.constraint_type IN ('P','U') AND c.table_name = t.table_name\n"
         "\t\tAND c.owner = t.owner" +
         // A key's own partitioned index is made here, and the key names it:
         // the key's USING INDEX clause cannot partition what it makes.
         std::string(HasPartitioning(release) ? " AND i.partitioned = 'NO'" : "") +
         // A non-unique index of a key that is not deferrable was made
         // before the key: this block creates it, the key then names it.
         std::string(noCompression ? ")\n"
                                   : "\n\t\tAND (i.uniqueness = 'UNIQUE' OR c.deferrable = "
                                     "'DEFERRABLE'))\n"
                                     "\tAND i.index_type NOT IN ('IOT - TOP', 'LOB')\n") +
         "\torder by t.owner, t.table_name, i.index_name;\n"
         "\tcursor pkcol_cursor (c_own varchar2, c_tab varchar2, c_pk varchar2) is\n"
         "\t\tselect column_name, column_position, " +
         std::string(noCompression ? "'ASC' descend" : "descend") +
         " from all_ind_COLUMNS\n"
         "\t\twhere table_name = c_tab and index_owner = c_own and index_name = c_pk\n"
         "\t\torder by column_position;\n" +
         std::string(noCompression
                         ? ""
                         : "\tcursor expr_cursor (c_own varchar2, c_ind varchar2, c_pos number) "
                           "is\n"
                           "\t\tselect column_expression from all_ind_expressions\n"
                           "\t\twhere index_owner = c_own and index_name = c_ind\n"
                           "\t\t\tand column_position = c_pos;\n") +
         "\tlv_owner\t\tall_tables.owner%%TYPE;\n"
         "\tlv_table_name\t\tall_tables.table_name%%TYPE;\n"
         "\tlv_index_name\t\tall_indexes.index_name%%TYPE;\n"
         "\tlv_pct_free\t\tall_indexes.pct_free%%TYPE;\n"
         "\tlv_pct_used\t\tall_tables.pct_used%%TYPE;\n"
         "\tlv_ini_trans\t\tall_indexes.ini_trans%%TYPE;\n"
         "\tlv_max_trans\t\tall_indexes.max_trans%%TYPE;\n"
         "\tlv_tablespace_name\tall_indexes.tablespace_name%%TYPE;\n"
         "\tlv_initial_extent\tall_indexes.initial_extent%%TYPE;\n"
         "\tlv_next_extent\t\tall_indexes.next_extent%%TYPE;\n"
         "\tlv_min_extents\t\tall_indexes.min_extents%%TYPE;\n"
         "\tlv_max_extents\t\tall_indexes.max_extents%%TYPE;\n"
         "\tlv_freelists\t\tall_indexes.freelists%%TYPE;\n"
         "\tlv_freelist_groups\tall_indexes.freelist_groups%%TYPE;\n"
         "\tlv_pct_increase\t\tall_indexes.pct_increase%%TYPE;\n" +
         std::string(noCompression ? "\tL_Compression\t\tvarchar2(100);\n"
                                     "\tL_PrefixLength\t\tnumber;\n"
                                   : "\tL_Compression\t\tall_indexes.compression%%TYPE;\n"
                                     "\tL_PrefixLength\t\tall_indexes.prefix_length%%TYPE;\n") +
         "\tlv_index_type\t\tvarchar2(27);\n"
         "\tlv_bitmap\t\tvarchar2(7);\n"
         "\tlv_column_text\t\tvarchar2(32767);\n"
         "\tlv_uniqueness\t\tvarchar2(7);\n"
         "\tlv_column_name\t\tall_ind_columns.column_name%%TYPE;\n"
         "\tlv_first\t\tboolean;\n" +
         ddl_block::PartitionKeyDeclarations(release) +
         ddl_block::IndexPartitionDeclarations(release) + ddl_block::LineVariables();
}

// A partitioned index keeps its attributes in its partitions.
std::string IndexStatement(bool withExpressions, int release) {
  const std::string whole = HasPartitioning(release) ? " and lv_tablespace_name is not null" : "";
  return "\t\tlv_bitmap := '';\n"
         "\t\tif lv_index_type like '%%BITMAP' then\n"
         "\t\t\tlv_bitmap := 'BITMAP ';\n"
         "\t\tend if;\n"
         "\t\ta_lin := wri(a_lin, 'CREATE ' || lv_uniqueness || lv_bitmap || 'INDEX ' ||\n"
         "\t\t\tqn(lv_index_name) || ' ON ' || qn(lv_table_name), 1);\n"
         "\t\ta_lin := wri(a_lin, '\t(', 1);\n"
         "\t\tlv_first := true;\n"
         "\t\tfor r_col in pkcol_cursor(lv_owner, lv_table_name, lv_index_name) loop\n"
         "\t\t\tlv_column_name := r_col.column_name;\n"
         "\t\t\tlv_column_text := qn(r_col.column_name);\n" +
         std::string(withExpressions ? "\t\t\tfor r_expr in expr_cursor(lv_owner, lv_index_name,\n"
                                       "\t\t\t\tr_col.column_position) loop\n"
                                       "\t\t\t\tlv_column_text := r_expr.column_expression;\n"
                                       "\t\t\tend loop;\n"
                                     : "") +
         "\t\t\tif r_col.descend = 'DESC' then\n"
         "\t\t\t\tlv_column_text := lv_column_text || ' DESC';\n"
         "\t\t\tend if;\n"
         "\t\t\tif lv_first then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t ' || lv_column_text, 1);\n"
         "\t\t\t\tlv_first := false;\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t ' || ',' || lv_column_text, 1);\n"
         "\t\t\tend if;\n"
         "\t\tend loop;\n"
         "\t\ta_lin := wri(a_lin, '\t)', 1);\n"
         "\t\tif L_pct = 'Y'" +
         whole +
         " then\n"
         "\t\t\ta_lin := wri(a_lin, '\tPCTFREE    ' || lv_pct_free, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\tINITRANS   ' || lv_ini_trans, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\tMAXTRANS   ' || lv_max_trans, 1);\n"
         "\t\tend if;\n"
         "\t\tif L_storage = 'Y'" +
         whole +
         " then\n"
         "\t\t\ta_lin := wri(a_lin, '\tTABLESPACE ' || lv_tablespace_name, 1);\n"
         "\t\tend if;\n"
         "\t\tif L_Compression = 'ENABLED' then\n"
         "\t\t\ta_lin := wri(a_lin, '\tCOMPRESS ' || L_PrefixLength, 1);\n"
         "\t\tend if;\n" +
         ddl_block::IndexOptionClauses(release) + "\t\ta_lin := wri(a_lin, '/', 1);\n";
}

}  // namespace

std::string IndexDdlBlock(const std::string& versionClass, int release,
                          const std::vector<std::string>* indexNames) {
  return Declarations(versionClass, release, indexNames) + ddl_block::LineWriterFunction() +
         ddl_block::NameQuoteFunction() + ddl_block::PartitionKeyFunctions(release) +
         "begin\n"
         "\ta_lin := '';\n"
         "\topen tab_cursor;\n"
         "\tloop\n"
         "\t\tfetch tab_cursor into lv_owner, lv_table_name, lv_index_name, lv_pct_free,\n"
         "\t\t\tlv_pct_used, lv_ini_trans, lv_max_trans, lv_tablespace_name,\n"
         "\t\t\tlv_initial_extent, lv_next_extent, lv_min_extents, lv_max_extents,\n"
         "\t\t\tlv_freelists, lv_freelist_groups, lv_pct_increase, L_Compression,\n"
         "\t\t\tL_PrefixLength, lv_index_type, " +
         std::string(HasPartitioning(release) ? "lv_logging, lv_visibility, " : "") +
         "lv_uniqueness;\n"
         "\t\texit when tab_cursor%%notfound;\n" +
         IndexStatement(!BeforeRelease8i(versionClass), release) +
         "\tend loop;\n"
         "\tclose tab_cursor;\n" +
         ddl_block::ExceptionSection();
}
