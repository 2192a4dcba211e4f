// Partitioning, LOB storage and the later table and index options in the
// CREATE TABLE and CREATE INDEX blocks.
#include "scripting/tables/PartitionDdlBlock.h"

#include "scripting/tables/ServerRelease.h"

namespace ddl_block {

namespace {

bool Partitioned(int release) {
  return ReleaseHas(release, dictionary_since::Partitioning);
}

bool Later(int release) {
  return ReleaseHas(release, dictionary_since::IntervalPartitioning);
}

// "(" before the first item of a list and "," before the others, each on a
// line of its own after a tab, then ")".
std::string ListLead(const std::string& indent, const std::string& first) {
  return indent + "if " + first + " then\n" + indent + "\ta_lin := wri(a_lin, '(', 1);\n" + indent +
         "\tlv_lead := ' ';\n" + indent + "else\n" + indent + "\tlv_lead := ',';\n" + indent +
         "end if;\n";
}

// What a partition was made with apart from its table's defaults: logging
// (a storage clause, as the table's is) and compression.
std::string PartitionOptions() {
  return "\t\t\t\tif L_storage = 'Y' and r_part.logging = 'NO' and r_pt.def_logging != 'NO' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' NOLOGGING', 0);\n"
         "\t\t\t\telsif L_storage = 'Y' and r_part.logging = 'YES' and r_pt.def_logging = 'NO' "
         "then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' LOGGING', 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tif r_part.compression = 'ENABLED' and r_pt.def_compression != 'ENABLED' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' COMPRESS', 0);\n"
         "\t\t\t\telsif r_part.compression = 'DISABLED' and r_pt.def_compression = 'ENABLED' "
         "then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' NOCOMPRESS', 0);\n"
         "\t\t\t\tend if;\n";
}

std::string TablePartitionList() {
  return "\t\t\tlv_first_part := true;\n"
         "\t\t\tfor r_part in tpart_cursor(lv_owner, lv_table_name) loop\n" +
         ListLead("\t\t\t\t", "lv_first_part") +
         "\t\t\t\tlv_first_part := false;\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t' || lv_lead || 'PARTITION ' || "
         "qn(r_part.partition_name), "
         "0);\n"
         "\t\t\t\ta_lin := wri(a_lin, bound_text(r_pt.partitioning_type, r_part.high_value), 0);\n"
         "\t\t\t\tif L_storage = 'Y' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' TABLESPACE ' || r_part.tablespace_name, 0);\n"
         "\t\t\t\tend if;\n" +
         PartitionOptions() +
         "\t\t\t\ta_lin := wri(a_lin, '', 1);\n"
         "\t\t\t\tlv_first_sub := true;\n"
         "\t\t\t\tfor r_sub in tsub_cursor(lv_owner, lv_table_name, r_part.partition_name) loop\n"
         "\t\t\t\t\tif lv_first_sub then\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, '\t (', 1);\n"
         "\t\t\t\t\t\tlv_sub_lead := ' ';\n"
         "\t\t\t\t\telse\n"
         "\t\t\t\t\t\tlv_sub_lead := ',';\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\tlv_first_sub := false;\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\t\t' || lv_sub_lead || 'SUBPARTITION ' ||\n"
         "\t\t\t\t\t\tqn(r_sub.subpartition_name), 0);\n"
         "\t\t\t\t\ta_lin := wri(a_lin, bound_text(r_pt.subpartitioning_type, r_sub.high_value), "
         "0);\n"
         "\t\t\t\t\tif L_storage = 'Y' then\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' TABLESPACE ' || r_sub.tablespace_name, 0);\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '', 1);\n"
         "\t\t\t\tend loop;\n"
         "\t\t\t\tif not lv_first_sub then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\t )', 1);\n"
         "\t\t\t\tend if;\n"
         "\t\t\tend loop;\n"
         "\t\t\tif not lv_first_part then\n"
         "\t\t\t\ta_lin := wri(a_lin, ')', 1);\n"
         "\t\t\tend if;\n";
}

// A partitioned table has no segment of its own: its defaults stand in the
// place of the physical clauses.
std::string TablePartitioning() {
  return "\t\tfor r_pt in ptab_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\tif L_pct = 'Y' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'PCTFREE  ' || r_pt.def_pct_free, 1);\n"
         "\t\t\t\ta_lin := wri(a_lin, 'PCTUSED  ' || r_pt.def_pct_used, 1);\n"
         "\t\t\t\ta_lin := wri(a_lin, 'INITRANS ' || r_pt.def_ini_trans, 1);\n"
         "\t\t\t\ta_lin := wri(a_lin, 'MAXTRANS ' || r_pt.def_max_trans, 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tif L_storage = 'Y' and r_pt.def_tablespace_name is not null then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'TABLESPACE ' || r_pt.def_tablespace_name, 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tif r_pt.def_compression = 'ENABLED' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'COMPRESS', 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tif L_storage = 'Y' and r_pt.def_logging = 'NO' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'NOLOGGING', 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tif r_pt.partitioning_type = 'REFERENCE' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'PARTITION BY REFERENCE (' || qn(r_pt.ref_constraint) || "
         "')', 1);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, 'PARTITION BY ' || r_pt.partitioning_type || ' ' ||\n"
         "\t\t\t\t\tkey_list(lv_owner, lv_table_name, 'TABLE', 0), 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tif r_pt.interval_text is not null then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'INTERVAL (' || r_pt.interval_text || ')', 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tif r_pt.subpartitioning_type != 'NONE' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'SUBPARTITION BY ' || r_pt.subpartitioning_type || ' ' ||\n"
         "\t\t\t\t\tkey_list(lv_owner, lv_table_name, 'TABLE', 1), 0);\n"
         "\t\t\t\tif r_pt.def_subpartition_count > 1 then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' SUBPARTITIONS ' || r_pt.def_subpartition_count, 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\ta_lin := wri(a_lin, '', 1);\n"
         "\t\t\tend if;\n" +
         TablePartitionList() + "\t\tend loop;\n";
}

std::string LobStorage() {
  return "\t\tif L_storage = 'Y' and nvl(lv_temporary, 'N') != 'Y' then\n"
         "\t\t\tfor r_lob in lob_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\t\ta_lin := wri(a_lin, 'LOB (' || qn(r_lob.column_name) || ') STORE AS', 0);\n"
         "\t\t\t\tif r_lob.securefile = 'YES' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' SECUREFILE', 0);\n"
         "\t\t\t\telse\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' BASICFILE', 0);\n"
         "\t\t\t\tend if;\n"
         // A name the server gave is left for the target server to give.
         "\t\t\t\tif substr(r_lob.segment_name, 1, 7) != 'SYS_LOB' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' ' || qn(r_lob.segment_name), 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\ta_lin := wri(a_lin, ' (TABLESPACE ' || r_lob.tablespace_name, 0);\n"
         "\t\t\t\tif r_lob.in_row = 'YES' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' ENABLE STORAGE IN ROW', 0);\n"
         "\t\t\t\telse\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' DISABLE STORAGE IN ROW', 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\ta_lin := wri(a_lin, ' CHUNK ' || r_lob.chunk, 0);\n"
         "\t\t\t\tif r_lob.cache = 'YES' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' CACHE', 0);\n"
         "\t\t\t\telse\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' NOCACHE', 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tif r_lob.logging = 'NO' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' NOLOGGING', 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\ta_lin := wri(a_lin, ')', 1);\n"
         "\t\t\tend loop;\n"
         "\t\tend if;\n";
}

}  // namespace

std::string PartitionKeyDeclarations(int release) {
  if (!Partitioned(release)) {
    return {};
  }
  return "\tcursor pkey_cursor (c_own varchar2, c_name varchar2, c_type varchar2) is\n"
         "\t\tselect column_name from all_part_key_columns\n"
         "\t\twhere owner = c_own and name = c_name and object_type = c_type\n"
         "\t\torder by column_position;\n"
         "\tcursor skey_cursor (c_own varchar2, c_name varchar2, c_type varchar2) is\n"
         "\t\tselect column_name from all_subpart_key_columns\n"
         "\t\twhere owner = c_own and name = c_name and object_type = c_type\n"
         "\t\torder by column_position;\n"
         "\tlv_lead\t\t\tvarchar2(1);\n"
         "\tlv_first_part\t\tboolean;\n";
}

std::string PartitionKeyFunctions(int release) {
  if (!Partitioned(release)) {
    return {};
  }
  return "\tfunction key_list(x_own in varchar2, x_name in varchar2, x_type in varchar2,\n"
         "\t\tx_sub in number) return varchar2 is\n"
         "\t\tlv_list\t\tvarchar2(32767);\n"
         "\tbegin\n"
         "\t\tif x_sub = 0 then\n"
         "\t\t\tfor r_key in pkey_cursor(x_own, x_name, x_type) loop\n"
         "\t\t\t\tif lv_list is not null then\n"
         "\t\t\t\t\tlv_list := lv_list || ', ';\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tlv_list := lv_list || qn(r_key.column_name);\n"
         "\t\t\tend loop;\n"
         "\t\telse\n"
         "\t\t\tfor r_key in skey_cursor(x_own, x_name, x_type) loop\n"
         "\t\t\t\tif lv_list is not null then\n"
         "\t\t\t\t\tlv_list := lv_list || ', ';\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tlv_list := lv_list || qn(r_key.column_name);\n"
         "\t\t\tend loop;\n"
         "\t\tend if;\n"
         "\t\treturn '(' || lv_list || ')';\n"
         "\tend key_list;\n"
         "\tfunction bound_text(x_type in varchar2, x_high in varchar2) return varchar2 is\n"
         "\tbegin\n"
         "\t\tif x_type = 'RANGE' then\n"
         "\t\t\treturn ' VALUES LESS THAN (' || x_high || ')';\n"
         "\t\telsif x_type = 'LIST' then\n"
         "\t\t\treturn ' VALUES (' || x_high || ')';\n"
         "\t\tend if;\n"
         "\t\treturn '';\n"
         "\tend bound_text;\n";
}

std::string TablePartitionDeclarations(int release) {
  if (!Partitioned(release)) {
    return {};
  }
  const bool later = Later(release);
  const bool compression = ReleaseHas(release, dictionary_since::TableCompression);
  return "\tcursor ptab_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect partitioning_type, subpartitioning_type, def_subpartition_count,\n"
         "\t\t\tdef_tablespace_name, def_pct_free, def_pct_used, def_ini_trans, def_max_trans,\n"
         "\t\t\tdef_logging, " +
         std::string(compression ? "def_compression, " : "'NONE' def_compression, ") +
         (later ? "\"INTERVAL\" interval_text, ref_ptn_constraint_name ref_constraint\n"
                : "null interval_text, null ref_constraint\n") +
         "\t\tfrom all_part_tables where owner = c_own and table_name = c_tab;\n"
         "\tcursor tpart_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect partition_name, high_value, tablespace_name, logging,\n" +
         (compression ? "\t\t\tcompression\n" : "\t\t\t'NONE' compression\n") +
         "\t\tfrom all_tab_partitions where table_owner = c_own and table_name = c_tab" +
         (later ? " and \"INTERVAL\" = 'NO'" : "") +
         "\n"
         "\t\torder by partition_position;\n"
         "\tcursor tsub_cursor (c_own varchar2, c_tab varchar2, c_part varchar2) is\n"
         "\t\tselect subpartition_name, high_value, tablespace_name from all_tab_subpartitions\n"
         "\t\twhere table_owner = c_own and table_name = c_tab and partition_name = c_part\n"
         "\t\torder by subpartition_position;\n" +
         (later ? "\tcursor lob_cursor (c_own varchar2, c_tab varchar2) is\n"
                  "\t\tselect column_name, segment_name, tablespace_name, chunk, cache, logging,\n"
                  "\t\t\tin_row, securefile from all_lobs\n"
                  "\t\twhere owner = c_own and table_name = c_tab order by column_name;\n"
                : "") +
         "\tlv_partitioned\t\tvarchar2(3);\n"
         "\tlv_compression\t\tvarchar2(8);\n"
         "\tlv_compress_for\t\tvarchar2(30);\n"
         "\tlv_row_movement\t\tvarchar2(8);\n"
         "\tlv_logging\t\tvarchar2(3);\n"
         "\tlv_sub_lead\t\tvarchar2(1);\n"
         "\tlv_first_sub\t\tboolean;\n";
}

std::string TableOptionClauses(int release) {
  if (!Partitioned(release)) {
    return {};
  }
  // NOLOGGING is a storage clause, as an index's is; a partitioned table
  // keeps it on its partitions.
  return "\t\tif L_storage = 'Y' and lv_logging = 'NO' then\n"
         "\t\t\ta_lin := wri(a_lin, 'NOLOGGING', 1);\n"
         "\t\tend if;\n"
         "\t\tif lv_compression = 'ENABLED' then\n"
         "\t\t\tif lv_compress_for = 'ADVANCED' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'ROW STORE COMPRESS ADVANCED', 1);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, 'COMPRESS', 1);\n"
         "\t\t\tend if;\n"
         "\t\tend if;\n" +
         (Later(release) ? LobStorage() : std::string()) + TablePartitioning() +
         "\t\tif lv_row_movement = 'ENABLED' then\n"
         "\t\t\ta_lin := wri(a_lin, 'ENABLE ROW MOVEMENT', 1);\n"
         "\t\tend if;\n";
}

std::string ReferenceKeyDeclarations(int release) {
  if (!Later(release)) {
    return {};
  }
  return "\tcursor refkey_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect k.constraint_name, k.generated,\n"
         "\t\t\tdecode(k.constraint_type, 'P', 'PRIMARY KEY', 'UNIQUE') key_type\n"
         "\t\tfrom all_constraints k\n"
         "\t\twhere k.owner = c_own and k.table_name = c_tab and k.constraint_type in ('P', 'U')\n"
         "\t\t\tand exists (select 1 from all_constraints r, all_part_tables p\n"
         "\t\t\t\twhere r.r_owner = k.owner and r.r_constraint_name = k.constraint_name\n"
         "\t\t\t\tand p.owner = r.owner and p.table_name = r.table_name\n"
         "\t\t\t\tand p.ref_ptn_constraint_name = r.constraint_name);\n"
         "\tcursor reffk_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect r.constraint_name, r.r_owner, r.r_constraint_name, r.delete_rule,\n"
         "\t\t\tk.table_name r_table\n"
         "\t\tfrom all_part_tables p, all_constraints r, all_constraints k\n"
         "\t\twhere p.owner = c_own and p.table_name = c_tab and r.owner = p.owner\n"
         "\t\t\tand r.constraint_name = p.ref_ptn_constraint_name\n"
         "\t\t\tand k.owner = r.r_owner and k.constraint_name = r.r_constraint_name;\n";
}

std::string ReferenceKeyFunctions(int release) {
  if (!Later(release)) {
    return {};
  }
  return "\tfunction cons_cols(x_own in varchar2, x_tab in varchar2, x_cons in varchar2)\n"
         "\t\treturn varchar2 is\n"
         "\t\tlv_list\t\tvarchar2(32767);\n"
         "\tbegin\n"
         "\t\tfor r_col in keycol_cursor(x_own, x_tab, x_cons) loop\n"
         "\t\t\tif lv_list is not null then\n"
         "\t\t\t\tlv_list := lv_list || ', ';\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_list := lv_list || qn(r_col.column_name);\n"
         "\t\tend loop;\n"
         "\t\treturn '(' || lv_list || ')';\n"
         "\tend cons_cols;\n";
}

std::string ReferenceKeyLines(int release) {
  if (!Later(release)) {
    return {};
  }
  return "\t\tfor r_key in refkey_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\tif r_key.generated = 'GENERATED NAME' then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t,', 0);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t,CONSTRAINT ' || qn(r_key.constraint_name) || ' ', 0);\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, r_key.key_type || ' ' ||\n"
         "\t\t\t\tcons_cols(lv_owner, lv_table_name, r_key.constraint_name), 1);\n"
         "\t\tend loop;\n"
         "\t\tfor r_fk in reffk_cursor(lv_owner, lv_table_name) loop\n"
         "\t\t\ta_lin := wri(a_lin, '\t,CONSTRAINT ' || qn(r_fk.constraint_name) || ' FOREIGN KEY "
         "' ||\n"
         "\t\t\t\tcons_cols(lv_owner, lv_table_name, r_fk.constraint_name), 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\t\tREFERENCES ' || qn(r_fk.r_table) || ' ' ||\n"
         "\t\t\t\tcons_cols(r_fk.r_owner, r_fk.r_table, r_fk.r_constraint_name), 0);\n"
         "\t\t\tif r_fk.delete_rule = 'CASCADE' then\n"
         "\t\t\t\ta_lin := wri(a_lin, ' ON DELETE CASCADE', 0);\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, '', 1);\n"
         "\t\tend loop;\n";
}

std::string ReferenceKeyExclusion(int release) {
  if (!Later(release)) {
    return {};
  }
  return "\t\t\tAND NOT EXISTS (SELECT 1 FROM all_part_tables p WHERE p.owner = c.owner\n"
         "\t\t\t\tAND p.table_name = c.table_name AND p.ref_ptn_constraint_name = "
         "c.constraint_name)\n"
         "\t\t\tAND NOT EXISTS (SELECT 1 FROM all_constraints r, all_part_tables p\n"
         "\t\t\t\tWHERE r.r_owner = c.owner AND r.r_constraint_name = c.constraint_name\n"
         "\t\t\t\tAND p.owner = r.owner AND p.table_name = r.table_name\n"
         "\t\t\t\tAND p.ref_ptn_constraint_name = r.constraint_name)\n";
}

std::string IndexPartitionDeclarations(int release) {
  if (!Partitioned(release)) {
    return {};
  }
  // The partitions of a local index on an interval table are left to the
  // target, which has the interval partitions its rows made by then.
  return "\tcursor pind_cursor (c_own varchar2, c_ind varchar2) is\n"
         "\t\tselect locality, partitioning_type, " +
         std::string(Later(release) ? "\"INTERVAL\" interval_text" : "null interval_text") +
         " from all_part_indexes\n"
         "\t\twhere owner = c_own and index_name = c_ind;\n"
         "\tcursor ipart_cursor (c_own varchar2, c_ind varchar2, c_all varchar2) is\n"
         "\t\tselect partition_name, high_value, tablespace_name from all_ind_partitions\n"
         "\t\twhere index_owner = c_own and index_name = c_ind and c_all = 'Y'\n"
         "\t\torder by partition_position;\n"
         "\tlv_logging\t\tvarchar2(7);\n"
         "\tlv_visibility\t\tvarchar2(9);\n"
         "\tlv_all_parts\t\tvarchar2(1);\n";
}

std::string IndexOptionClauses(int release) {
  if (!Partitioned(release)) {
    return {};
  }
  return "\t\tif lv_index_type like '%%/REV' then\n"
         "\t\t\ta_lin := wri(a_lin, '\tREVERSE', 1);\n"
         "\t\tend if;\n"
         "\t\tif L_storage = 'Y' and lv_logging = 'NO' then\n"
         "\t\t\ta_lin := wri(a_lin, '\tNOLOGGING', 1);\n"
         "\t\tend if;\n"
         "\t\tif lv_visibility = 'INVISIBLE' then\n"
         "\t\t\ta_lin := wri(a_lin, '\tINVISIBLE', 1);\n"
         "\t\tend if;\n"
         "\t\tfor r_pi in pind_cursor(lv_owner, lv_index_name) loop\n"
         "\t\t\tif r_pi.locality = 'LOCAL' then\n"
         "\t\t\t\ta_lin := wri(a_lin, 'LOCAL', 1);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, 'GLOBAL PARTITION BY ' || r_pi.partitioning_type || ' ' ||\n"
         "\t\t\t\t\tkey_list(lv_owner, lv_index_name, 'INDEX', 0), 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_first_part := true;\n"
         "\t\t\tlv_all_parts := 'Y';\n"
         "\t\t\tif r_pi.locality = 'LOCAL' and r_pi.interval_text is not null then\n"
         "\t\t\t\tlv_all_parts := 'N';\n"
         "\t\t\tend if;\n"
         "\t\t\tfor r_part in ipart_cursor(lv_owner, lv_index_name, lv_all_parts) loop\n" +
         ListLead("\t\t\t\t", "lv_first_part") +
         "\t\t\t\tlv_first_part := false;\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t' || lv_lead || 'PARTITION ' || "
         "qn(r_part.partition_name), "
         "0);\n"
         "\t\t\t\tif r_pi.locality = 'GLOBAL' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, bound_text(r_pi.partitioning_type, r_part.high_value), "
         "0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tif L_storage = 'Y' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' TABLESPACE ' || r_part.tablespace_name, 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\ta_lin := wri(a_lin, '', 1);\n"
         "\t\t\tend loop;\n"
         "\t\t\tif not lv_first_part then\n"
         "\t\t\t\ta_lin := wri(a_lin, ')', 1);\n"
         "\t\t\tend if;\n"
         "\t\tend loop;\n";
}

}  // namespace ddl_block
