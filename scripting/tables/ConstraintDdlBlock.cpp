// The constraint generator block. Tables, constraints and columns are looked
// up by their exact dictionary names and printed through qn; a check
// condition is printed as the server stores it, or, when a script could not
// carry it so, cut into lines only at blanks outside quoted literals, so that
// a literal such as 'NEW YORK' reaches the script unchanged. Names the server
// generated (the dictionary's GENERATED column says which) are left for the
// target's server to generate again; NOT NULL constraints belong to the
// table block's column lines.
#include "scripting/tables/ConstraintDdlBlock.h"

#include "scripting/tables/DdlBlockPieces.h"
#include "scripting/tables/PartitionDdlBlock.h"
#include "scripting/tables/ServerRelease.h"

namespace {

// The key of an object table whose rows' identifiers are their keys is made
// with the table; the unique key of system-made identifiers is the server's.
std::string ObjectTableExclusion(int release) {
  if (!ReleaseHas(release, dictionary_since::ObjectTypes)) {
    return {};
  }
  return "\t\t\tAND NOT (c.constraint_type = 'P' AND nvl(t.object_id_type, ' ') = "
         "'USER-DEFINED')\n"
         "\t\t\tAND NOT EXISTS (SELECT 1 FROM all_cons_columns k WHERE k.owner = c.owner\n"
         "\t\t\t\tAND k.constraint_name = c.constraint_name AND k.column_name = "
         "'SYS_NC_OID$')\n";
}

std::string Declarations(ConstraintKinds kinds, int release) {
  return "declare\n"
         "\tcursor tab_cursor is\n"
         "\t\tselect t.owner, t.table_name, t.pct_free, t.pct_used, t.ini_trans, t.max_trans,\n"
         "\t\t\tt.tablespace_name, t.initial_extent, t.next_extent, t.min_extents,\n"
         "\t\t\tt.max_extents, t.freelists, t.freelist_groups, t.pct_increase,\n"
         "\t\t\tc.constraint_name constr_name,\n"
         "\t\t\tDECODE(constraint_type,'C','CHECK','P','PRIMARY KEY','R','FOREIGN KEY',"
         "'U','UNIQUE',constraint_type) constr_type,\n"
         "\t\t\tc.search_condition search_cond, c.R_owner, c.R_constraint_name,\n"
         "\t\t\tc.delete_rule, " +
         ddl_block::ConstraintStateColumns(release, "c.") + ",\n" +
         (ReleaseHas(release, dictionary_since::CharacterSemantics) ? "\t\t\tc.index_name, "
                                                                    : "\t\t\tnull index_name, ") +
         (ReleaseHas(release, dictionary_since::ConstraintStates) ? "t.iot_type\n"
                                                                  : "null iot_type\n") +
         "\t\tfrom " + ddl_block::TablesView(release) +
         " t,all_constraints c\n"
         "\t\twhere t.owner = :bind1 AND t.table_name = :bind2\n"
         "\t\t\tAND t.table_name = c.table_name AND t.owner = c.owner\n" +
         ObjectTableExclusion(release) +
         std::string(kinds == ConstraintKinds::ForeignKeys
                         ? "\t\t\tAND c.constraint_type = 'R'\n"
                         : "\t\t\tAND c.constraint_type != 'R'\n") +
         ddl_block::ReferenceKeyExclusion(release) +
         "\t\torder by DECODE(constraint_type,'P',1,'U',2,'R',3,'C',4,5), t.owner, t.table_name;\n"
         "\tcursor pkcol_cursor (c_own varchar2, c_tab varchar2, c_pk varchar2) is\n"
         "\t\tselect column_name from all_cons_COLUMNS\n"
         "\t\twhere table_name = c_tab and owner = c_own and constraint_name = c_pk\n"
         "\t\torder by position;\n"
         "\tcursor CU_pk_tabl_name (c_own varchar2, c_PK varchar2) is\n"
         "\t\tselect table_name from all_constraints\n"
         "\t\twhere constraint_name = c_pk and owner = c_own;\n"
         // Equality, not LIKE: "_" in a key's name would match other indexes.
         "\tcursor CU_ind (c_own varchar2, c_tab varchar2, c_ind varchar2) is\n"
         "\t\tselect owner, index_name, uniqueness, tablespace_name, ini_trans, max_trans,\n"
         "\t\t\tpct_free, pct_increase, initial_extent, next_extent, " +
         std::string(ReleaseHas(release, dictionary_since::Partitioning) ? "partitioned\n"
                                                                         : "'NO' partitioned\n") +
         "\t\tfrom all_indexes\n"
         "\t\twhere owner = c_own AND table_name = c_tab AND index_name = c_ind\n"
         "\t\tORDER BY 1,2;\n"
         "\tR_ind\t\t\tCU_ind%%ROWTYPE;\n" +
         ddl_block::TableStorageVariables() +
         "\tlv_constr_name\t\tall_constraints.constraint_name%%TYPE;\n"
         "\tlv_constr_type\t\tVARCHAR2(100);\n"
         "\tlv_search_cond\t\tVARCHAR2(32000);\n"
         "\tlv_r_owner\t\tall_constraints.r_owner%%TYPE;\n"
         "\tlv_r_constraint_name\tall_constraints.r_constraint_name%%TYPE;\n"
         "\tlv_r_table_name\t\tall_constraints.table_name%%TYPE;\n"
         "\tlv_delete_rule\t\tall_constraints.delete_rule%%TYPE;\n"
         "\tlv_status\t\tall_constraints.status%%TYPE;\n"
         "\tlv_deferrable\t\tvarchar2(14);\n"
         "\tlv_deferred\t\tvarchar2(9);\n"
         "\tlv_validated\t\tvarchar2(13);\n"
         "\tlv_generated\t\tvarchar2(14);\n"
         "\tlv_index_name\t\tvarchar2(128);\n"
         "\tlv_state\t\tvarchar2(100);\n"
         "\tlv_iot_type\t\tvarchar2(12);\n"
         "\tlv_column_name\t\tall_cons_columns.column_name%%TYPE;\n"
         "\tlv_sc\t\t\tVARCHAR2(32000);\n"
         "\tlv_rest\t\t\tVARCHAR2(32000);\n"
         "\tlv_piece_len\t\tnumber;\n" +
         ddl_block::LineVariables();
}

std::string ColumnListProcedure() {
  return "\tprocedure PR_get_constr_col(x_own in varchar2, x_tab in varchar2,\n"
         "\t\tx_constr in varchar2, x_type in varchar2) is\n"
         "\t\tlv_pad\t\tvarchar2(100);\n"
         "\t\tlv_first\tboolean := true;\n"
         "\tbegin\n"
         "\t\tlv_pad := RPAD(' ', LENGTH(x_type) + 1);\n"
         "\t\ta_lin := wri(a_lin, '\t' || lv_pad || '(', 1);\n"
         "\t\tfor r_col in pkcol_cursor(x_own, x_tab, x_constr) loop\n"
         "\t\t\tlv_column_name := r_col.column_name;\n"
         "\t\t\tif lv_first then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t' || lv_pad || qn(r_col.column_name), 1);\n"
         "\t\t\t\tlv_first := false;\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t' || lv_pad || ',' || qn(r_col.column_name), 1);\n"
         "\t\t\tend if;\n"
         "\t\tend loop;\n"
         "\t\ta_lin := wri(a_lin, '\t' || lv_pad || ')', 1);\n"
         "\tend PR_get_constr_col;\n";
}

// The length of the next piece of x_cond: all of it when it fits on a line
// behind its tab, so that a short condition is stored again exactly as it
// was; else up to its last blank outside a
// quoted literal or quoted identifier within the first 80 characters; when
// there is none, up to the first such blank after them, so that neither a
// literal nor a word is ever split; all of it when it has no such blank.
std::string PieceLengthFunction() {
  return "\tfunction piece_length(x_cond in varchar2) return number is\n"
         "\t\tlv_pos\t\tnumber := 1;\n"
         "\t\tlv_cut\t\tnumber := 0;\n"
         "\t\tlv_quote\tvarchar2(1);\n"
         "\t\tlv_char\t\tvarchar2(1);\n"
         "\tbegin\n"
         "\t\tif length(x_cond) < 80 then\n"
         "\t\t\treturn length(x_cond);\n"
         "\t\tend if;\n"
         "\t\twhile lv_pos <= length(x_cond) loop\n"
         "\t\t\tlv_char := substr(x_cond, lv_pos, 1);\n"
         "\t\t\tif lv_quote is not null then\n"
         "\t\t\t\tif lv_char = lv_quote then\n"
         "\t\t\t\t\tlv_quote := null;\n"
         "\t\t\t\tend if;\n"
         "\t\t\telsif lv_char = '''' or lv_char = '\"' then\n"
         "\t\t\t\tlv_quote := lv_char;\n"
         "\t\t\telsif lv_char = ' ' then\n"
         "\t\t\t\tif lv_pos > 80 and lv_cut > 0 then\n"
         "\t\t\t\t\treturn lv_cut;\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tlv_cut := lv_pos;\n"
         "\t\t\t\tif lv_pos > 80 then\n"
         "\t\t\t\t\treturn lv_cut;\n"
         "\t\t\t\tend if;\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_pos := lv_pos + 1;\n"
         "\t\tend loop;\n"
         "\t\tif lv_cut = 0 then\n"
         "\t\t\treturn length(x_cond);\n"
         "\t\tend if;\n"
         "\t\treturn lv_cut;\n"
         "\tend piece_length;\n";
}

// x_cond with every run of white space outside quotes made one blank, for a
// condition that cannot be printed line for line. A condition holding
// a "--" comment keeps its line breaks, which end the comment.
std::string FlatConditionFunction() {
  return "\tfunction flat_condition(x_cond in varchar2) return varchar2 is\n"
         "\t\tlv_pos\t\tnumber := 1;\n"
         "\t\tlv_quote\tvarchar2(1);\n"
         "\t\tlv_char\t\tvarchar2(1);\n"
         "\t\tlv_flat\t\tvarchar2(32000);\n"
         "\t\tlv_blank\tboolean := false;\n"
         "\tbegin\n"
         "\t\tif instr(x_cond, '--') > 0 then\n"
         "\t\t\treturn x_cond;\n"
         "\t\tend if;\n"
         "\t\twhile lv_pos <= length(x_cond) loop\n"
         "\t\t\tlv_char := substr(x_cond, lv_pos, 1);\n"
         "\t\t\tif lv_quote is null and lv_char in (' ', chr(9), chr(10), chr(13)) then\n"
         "\t\t\t\tlv_blank := true;\n"
         "\t\t\telse\n"
         "\t\t\t\tif lv_blank and lv_flat is not null then\n"
         "\t\t\t\t\tlv_flat := lv_flat || ' ';\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tlv_blank := false;\n"
         "\t\t\t\tif lv_quote is not null then\n"
         "\t\t\t\t\tif lv_char = lv_quote then\n"
         "\t\t\t\t\t\tlv_quote := null;\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\telsif lv_char = '''' or lv_char = '\"' then\n"
         "\t\t\t\t\tlv_quote := lv_char;\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tlv_flat := lv_flat || lv_char;\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_pos := lv_pos + 1;\n"
         "\t\tend loop;\n"
         "\t\treturn lv_flat;\n"
         "\tend flat_condition;\n";
}

// A condition is printed with its own line breaks, blanks and tabs, so that
// the target's server stores the same text; only one that a script could not
// carry is made one line and cut at blanks.
std::string CheckCondition() {
  return "\t\t\ta_lin := wri(a_lin, '\t(', 1);\n"
         "\t\t\tlv_rest := lv_search_cond;\n"
         "\t\t\tif plain_lines(lv_rest, 255) then\n"
         "\t\t\t\tlv_sc := '\t';\n"
         "\t\t\t\twhile lv_rest is not null loop\n"
         "\t\t\t\t\tlv_piece_len := instr(lv_rest, chr(10));\n"
         "\t\t\t\t\tif lv_piece_len = 0 then\n"
         "\t\t\t\t\t\tlv_piece_len := length(lv_rest) + 1;\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\ta_lin := wri(a_lin, lv_sc || substr(lv_rest, 1, lv_piece_len - 1), 1);\n"
         "\t\t\t\t\tlv_sc := null;\n"
         "\t\t\t\t\tlv_rest := substr(lv_rest, lv_piece_len + 1);\n"
         "\t\t\t\tend loop;\n"
         "\t\t\telse\n"
         "\t\t\t\tlv_rest := flat_condition(lv_rest);\n"
         "\t\t\t\twhile lv_rest is not null loop\n"
         "\t\t\t\t\tlv_piece_len := piece_length(lv_rest);\n"
         "\t\t\t\t\tlv_sc := substr(lv_rest, 1, lv_piece_len);\n"
         // A line of nothing but "/" would end the statement in a script.
         "\t\t\t\t\twhile RTRIM(lv_sc) = '/' and lv_piece_len < length(lv_rest) loop\n"
         "\t\t\t\t\t\tlv_piece_len := lv_piece_len + "
         "piece_length(substr(lv_rest, lv_piece_len + 1));\n"
         "\t\t\t\t\t\tlv_sc := substr(lv_rest, 1, lv_piece_len);\n"
         "\t\t\t\t\tend loop;\n"
         "\t\t\t\t\tif RTRIM(lv_sc) is not null then\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, '\t' || RTRIM(lv_sc), 1);\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\tlv_rest := substr(lv_rest, lv_piece_len + 1);\n"
         "\t\t\t\tend loop;\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, '\t)', 1);\n";
}

// A key served by an index of another name, by a partitioned index, or by a
// non-unique index that its server did not make for it (only a deferrable
// key gets one), names that index: the index phase has created it. A key's own index repeats its
// physical clauses only when they are switched on.
std::string KeyIndexClauses(int release) {
  // The index block creates such an index for servers from release 8i on.
  const std::string nonUniqueOwnIndex =
      ReleaseHas(release, dictionary_since::TemporaryTables)
          ? "\n\t\t\t\tor (R_ind.uniqueness = 'NONUNIQUE' and lv_deferrable != 'DEFERRABLE')"
          : "";
  return "\t\tif lv_constr_type in ('PRIMARY KEY', 'UNIQUE') then\n"
         "\t\t\topen CU_ind(lv_owner, lv_table_name, nvl(lv_index_name, lv_constr_name));\n"
         "\t\t\tfetch CU_ind into R_ind;\n"
         "\t\t\tif CU_ind%%found and (R_ind.index_name != lv_constr_name\n"
         "\t\t\t\tor R_ind.partitioned = 'YES'" +
         nonUniqueOwnIndex +
         ") then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\tUSING INDEX ' || qn(R_ind.index_name), 1);\n"
         "\t\t\telsif CU_ind%%found and (L_pct = 'Y' or L_storage = 'Y') then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\tUSING INDEX', 1);\n"
         "\t\t\t\tif L_pct = 'Y' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\tPCTFREE    ' || R_ind.pct_free, 1);\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\tINITRANS   ' || R_ind.ini_trans, 1);\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\tMAXTRANS   ' || R_ind.max_trans, 1);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tif L_storage = 'Y' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, '\tTABLESPACE ' || R_ind.tablespace_name, 1);\n"
         "\t\t\t\tend if;\n"
         "\t\t\tend if;\n"
         "\t\t\tclose CU_ind;\n"
         "\t\tend if;\n";
}

// The referenced table carries its owner only when it is another schema's.
std::string ReferenceClause() {
  return "\t\tif lv_constr_type = 'FOREIGN KEY' then\n"
         "\t\t\tlv_r_table_name := null;\n"
         "\t\t\topen CU_pk_tabl_name(lv_r_owner, lv_r_constraint_name);\n"
         "\t\t\tfetch CU_pk_tabl_name into lv_r_table_name;\n"
         "\t\t\tclose CU_pk_tabl_name;\n"
         "\t\t\tif lv_r_owner != lv_owner then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\tREFERENCES ' || qn(lv_r_owner) || '.' || "
         "qn(lv_r_table_name), 1);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, '\tREFERENCES ' || qn(lv_r_table_name), 1);\n"
         "\t\t\tend if;\n"
         "\t\t\tPR_get_constr_col(lv_r_owner, lv_r_table_name, lv_r_constraint_name, "
         "lv_constr_type);\n"
         "\t\t\tif lv_delete_rule in ('CASCADE', 'SET NULL') then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\tON DELETE ' || lv_delete_rule, 1);\n"
         "\t\t\tend if;\n"
         "\t\tend if;\n";
}

// A check is a NOT NULL constraint when its condition is exactly its one
// column, quoted, followed by IS NOT NULL: the server's own wording.
std::string NotNullCheckFunction() {
  return "\tfunction is_not_null(x_own in varchar2, x_tab in varchar2, x_constr in varchar2,\n"
         "\t\tx_cond in varchar2) return boolean is\n"
         "\t\tlv_count\tnumber := 0;\n"
         "\t\tlv_col\t\tall_cons_columns.column_name%%TYPE;\n"
         "\tbegin\n"
         "\t\tfor r_col in pkcol_cursor(x_own, x_tab, x_constr) loop\n"
         "\t\t\tlv_count := lv_count + 1;\n"
         "\t\t\tlv_col := r_col.column_name;\n"
         "\t\tend loop;\n"
         "\t\treturn lv_count = 1 and x_cond = '\"' || lv_col || '\" IS NOT NULL';\n"
         "\tend is_not_null;\n";
}

std::string ConstraintHead() {
  return "\t\ta_lin := wri(a_lin, 'ALTER TABLE ' || qn(lv_table_name) || ' ADD (', 1);\n"
         // A generated name written out would claim a name that the target's
         // server may already have given to another constraint.
         "\t\tif lv_generated = 'GENERATED NAME' then\n"
         "\t\t\ta_lin := wri(a_lin, '\t' || lv_constr_type, 1);\n"
         "\t\t\ta_lin := wri(a_lin, '-- original system constraint name was ' || "
         "lv_constr_name, 1);\n"
         "\t\telse\n"
         "\t\t\ta_lin := wri(a_lin, '\tCONSTRAINT ' || qn(lv_constr_name), 1);\n"
         "\t\t\ta_lin := wri(a_lin, '\t' || lv_constr_type, 1);\n"
         "\t\tend if;\n"
         "\t\tif lv_constr_type = 'CHECK' and lv_search_cond is not null then\n" +
         CheckCondition() +
         "\t\telse\n"
         "\t\t\tPR_get_constr_col(lv_owner, lv_table_name, lv_constr_name, lv_constr_type);\n"
         "\t\tend if;\n";
}

// A check whose condition keeps a line break inside a literal or after a
// "--" comment even when made one line, and has lines a command-line SQL
// tool takes for its own: the whole statement is run with EXECUTE
// IMMEDIATE from a block, its condition in quoted pieces.
std::string CheckBlock() {
  return "\t\t\tif lv_generated = 'GENERATED NAME' then\n"
         "\t\t\t\ta_lin := wri(a_lin, '-- original system constraint name was ' || "
         "lv_constr_name, 1);\n"
         "\t\t\t\tlv_sc := '';\n"
         "\t\t\telse\n"
         "\t\t\t\tlv_sc := 'CONSTRAINT ' || qn(lv_constr_name) || ' ';\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, 'BEGIN', 1);\n"
         "\t\t\ta_lin := wri(a_lin, 'EXECUTE IMMEDIATE ' ||\n"
         "\t\t\t\tlit('ALTER TABLE ' || qn(lv_table_name) || ' ADD (' || lv_sc || 'CHECK ('), 1);\n"
         "\t\t\tpcs(lv_search_cond);\n"
         "\t\t\ta_lin := wri(a_lin, '|| ' || lit(') ' ||\n"
         "\t\t\t\tcstate(lv_deferrable, lv_deferred, lv_status, lv_validated) || ')') || ';', 1);\n"
         "\t\t\ta_lin := wri(a_lin, 'END;', 1);\n"
         "\t\t\ta_lin := wri(a_lin, '/', 1);\n";
}

}  // namespace

std::string ConstraintDdlBlock(ConstraintKinds kinds, int release) {
  return Declarations(kinds, release) + ddl_block::LineWriterFunction() +
         ddl_block::NameQuoteFunction() + ddl_block::ConstraintStateFunction() +
         ColumnListProcedure() + NotNullCheckFunction() + PieceLengthFunction() +
         FlatConditionFunction() + ddl_block::PlainLinesFunction() + ddl_block::LiteralFunction() +
         ddl_block::PiecesProcedure() +
         "begin\n"
         "\ta_lin := '';\n"
         "\topen tab_cursor;\n"
         "\tloop\n"
         "\t\tfetch tab_cursor into lv_owner, lv_table_name, lv_pct_free, lv_pct_used,\n"
         "\t\t\tlv_ini_trans, lv_max_trans, lv_tablespace_name, lv_initial_extent,\n"
         "\t\t\tlv_next_extent, lv_min_extents, lv_max_extents, lv_freelists,\n"
         "\t\t\tlv_freelist_groups, lv_pct_increase, lv_constr_name, lv_constr_type,\n"
         "\t\t\tlv_search_cond, lv_r_owner, lv_r_constraint_name, lv_delete_rule,\n"
         "\t\t\tlv_generated, lv_status, lv_deferrable, lv_deferred, lv_validated,\n"
         "\t\t\tlv_index_name, lv_iot_type;\n"
         "\t\texit when tab_cursor%%notfound;\n"
         // NOT NULL constraints stand on the table block's column lines, the
         // key of an index-organized table in its CREATE TABLE.
         "\t\tif (lv_constr_type = 'CHECK'\n"
         "\t\t\tand is_not_null(lv_owner, lv_table_name, lv_constr_name, lv_search_cond))\n"
         "\t\t\tor (lv_constr_type = 'PRIMARY KEY' and lv_iot_type = 'IOT') then\n"
         "\t\t\tnull;\n"
         "\t\telsif lv_constr_type = 'CHECK' and lv_search_cond is not null\n"
         "\t\t\tand not plain_lines(lv_search_cond, 255)\n"
         "\t\t\tand instr(flat_condition(lv_search_cond), chr(10)) > 0 then\n" +
         CheckBlock() + "\t\telse\n" + ConstraintHead() + KeyIndexClauses(release) +
         ReferenceClause() +
         "\t\tlv_state := cstate(lv_deferrable, lv_deferred, lv_status, lv_validated);\n"
         "\t\tif lv_state is not null then\n"
         "\t\t\ta_lin := wri(a_lin, '\t' || lv_state, 1);\n"
         "\t\tend if;\n"
         "\t\ta_lin := wri(a_lin, ')', 1);\n"
         "\t\ta_lin := wri(a_lin, '/', 1);\n"
         "\t\tend if;\n"
         "\tend loop;\n"
         "\tclose tab_cursor;\n" +
         ddl_block::ExceptionSection("' - Aborting...scl='||LENGTH(lv_search_cond)");
}
