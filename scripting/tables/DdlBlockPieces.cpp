// The PL/SQL pieces shared by the table, constraint and index DDL blocks.
#include "scripting/tables/DdlBlockPieces.h"

#include "scripting/tables/ServerRelease.h"

namespace ddl_block {

std::string TablesView(int release) {
  return ReleaseHas(release, dictionary_since::ObjectTypes) ? "all_all_tables" : "all_tables";
}

std::string TableStorageVariables() {
  return "\tlv_owner\t\tall_tables.owner%%TYPE;\n"
         "\tlv_table_name\t\tall_tables.table_name%%TYPE;\n"
         "\tlv_pct_free\t\tall_tables.pct_free%%TYPE;\n"
         "\tlv_pct_used\t\tall_tables.pct_used%%TYPE;\n"
         "\tlv_ini_trans\t\tall_tables.ini_trans%%TYPE;\n"
         "\tlv_max_trans\t\tall_tables.max_trans%%TYPE;\n"
         "\tlv_tablespace_name\tall_tables.tablespace_name%%TYPE;\n"
         "\tlv_initial_extent\tall_tables.initial_extent%%TYPE;\n"
         "\tlv_next_extent\t\tall_tables.next_extent%%TYPE;\n"
         "\tlv_min_extents\t\tall_tables.min_extents%%TYPE;\n"
         "\tlv_max_extents\t\tall_tables.max_extents%%TYPE;\n"
         "\tlv_freelists\t\tall_tables.freelists%%TYPE;\n"
         "\tlv_freelist_groups\tall_tables.freelist_groups%%TYPE;\n"
         "\tlv_pct_increase\t\tall_tables.pct_increase%%TYPE;\n";
}

std::string LineVariables() {
  return "\ta_lin\t\t\tvarchar2(32767);\n"
         "\tlv_lineno\t\tnumber := 0;\n"
         "\tL_storage\t\tCHAR(1) DEFAULT :bind3;\n"
         "\tL_pct\t\tCHAR(1) DEFAULT :bind4;\n";
}

std::string ConstraintStateFunction() {
  // A disabled constraint is not validated unless it says so, an enabled one
  // is: only the departures from those defaults are written.
  return "\tfunction cstate(x_deferrable in varchar2, x_deferred in varchar2,\n"
         "\t\tx_status in varchar2, x_validated in varchar2) return varchar2 is\n"
         "\t\tlv_state\tvarchar2(100);\n"
         "\tbegin\n"
         "\t\tif x_deferrable = 'DEFERRABLE' then\n"
         "\t\t\tlv_state := lv_state || ' DEFERRABLE';\n"
         "\t\tend if;\n"
         "\t\tif x_deferred = 'DEFERRED' then\n"
         "\t\t\tlv_state := lv_state || ' INITIALLY DEFERRED';\n"
         "\t\tend if;\n"
         "\t\tif x_status = 'DISABLED' then\n"
         "\t\t\tlv_state := lv_state || ' DISABLE';\n"
         "\t\t\tif x_validated = 'VALIDATED' then\n"
         "\t\t\t\tlv_state := lv_state || ' VALIDATE';\n"
         "\t\t\tend if;\n"
         "\t\telsif x_validated = 'NOT VALIDATED' then\n"
         "\t\t\tlv_state := lv_state || ' ENABLE NOVALIDATE';\n"
         "\t\tend if;\n"
         "\t\treturn ltrim(lv_state);\n"
         "\tend cstate;\n";
}

std::string ConstraintStateColumns(int release, const std::string& prefix) {
  if (ReleaseHas(release, dictionary_since::ConstraintStates)) {
    return prefix + "generated, " + prefix + "status, " + prefix + "deferrable, " + prefix +
           "deferred, " + prefix + "validated";
  }
  return "decode(substr(" + prefix +
         "constraint_name, 1, 5), 'SYS_C', 'GENERATED NAME', 'USER NAME') generated, " + prefix +
         "status, 'NOT DEFERRABLE' deferrable, 'IMMEDIATE' deferred, 'VALIDATED' validated";
}

std::string LineWriterFunction() {
  return "\tfunction wri(x_lin in varchar2, x_str in varchar2, x_force in number)\n"
         "\t\treturn varchar2 is\n"
         "\tbegin\n"
         "\t\tif length(x_lin) + length(x_str) > 80 then\n"
         "\t\t\tlv_lineno := lv_lineno + 1;\n"
         "\t\t\tdbms_output.put_line(x_lin);\n"
         "\t\t\tif x_force = 0 then\n"
         "\t\t\t\treturn x_str;\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_lineno := lv_lineno + 1;\n"
         "\t\t\tdbms_output.put_line(x_str);\n"
         "\t\t\treturn '';\n"
         "\t\tend if;\n"
         "\t\tif x_force = 0 then\n"
         "\t\t\treturn x_lin || x_str;\n"
         "\t\tend if;\n"
         "\t\tlv_lineno := lv_lineno + 1;\n"
         "\t\tdbms_output.put_line(x_lin || x_str);\n"
         "\t\treturn '';\n"
         "\tend wri;\n";
}

std::string LiteralFunction() {
  return "\tfunction lit(x_text in varchar2) return varchar2 is\n"
         "\tbegin\n"
         "\t\treturn '''' || replace(x_text, '''', '''''') || '''';\n"
         "\tend lit;\n";
}

std::string PiecesProcedure() {
  // Pieces of 250 characters stay short script lines even when every
  // character is a doubled quote of 4 bytes.
  return "\tprocedure pcs(x_text in varchar2) is\n"
         "\t\tlv_pos\t\tnumber := 1;\n"
         "\t\tlv_end\t\tnumber;\n"
         "\t\tlv_len\t\tnumber := length(x_text);\n"
         "\tbegin\n"
         "\t\twhile lv_pos <= lv_len loop\n"
         "\t\t\tif substr(x_text, lv_pos, 1) in (chr(10), chr(13)) then\n"
         "\t\t\t\ta_lin := wri(a_lin, '|| CHR(' || ascii(substr(x_text, lv_pos, 1)) || ')', 1);\n"
         "\t\t\t\tlv_pos := lv_pos + 1;\n"
         "\t\t\telse\n"
         "\t\t\t\tlv_end := least(lv_pos + 250, lv_len + 1);\n"
         "\t\t\t\tif instr(x_text, chr(10), lv_pos) > 0 then\n"
         "\t\t\t\t\tlv_end := least(lv_end, instr(x_text, chr(10), lv_pos));\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\tif instr(x_text, chr(13), lv_pos) > 0 then\n"
         "\t\t\t\t\tlv_end := least(lv_end, instr(x_text, chr(13), lv_pos));\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\ta_lin := wri(a_lin, '|| ' || lit(substr(x_text, lv_pos, lv_end - lv_pos)), 1);\n"
         "\t\t\t\tlv_pos := lv_end;\n"
         "\t\t\tend if;\n"
         "\t\tend loop;\n"
         "\tend pcs;\n";
}

std::string PlainLinesFunction() {
  return "\tfunction plain_lines(x_cond in varchar2, x_longest in number) return boolean is\n"
         "\t\tlv_from\t\tnumber := 1;\n"
         "\t\tlv_to\t\tnumber;\n"
         "\t\tlv_line\t\tvarchar2(32000);\n"
         "\tbegin\n"
         "\t\twhile lv_from <= length(x_cond) loop\n"
         "\t\t\tlv_to := instr(x_cond, chr(10), lv_from);\n"
         "\t\t\tif lv_to = 0 then\n"
         "\t\t\t\tlv_to := length(x_cond) + 1;\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_line := substr(x_cond, lv_from, lv_to - lv_from);\n"
         "\t\t\tif lv_to - lv_from > x_longest or substr(lv_line, 1, 1) = '#' then\n"
         "\t\t\t\treturn false;\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_line := ltrim(rtrim(lv_line, ' ' || chr(9) || chr(13)), ' ' || chr(9));\n"
         "\t\t\tif lv_line is null or lv_line in ('/', '.') or substr(lv_line, -1) = ';' then\n"
         "\t\t\t\treturn false;\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_from := lv_to + 1;\n"
         "\t\tend loop;\n"
         "\t\treturn true;\n"
         "\tend plain_lines;\n";
}

std::string NameQuoteFunction() {
  // Only letters, digits, "_", "$" and "#" after a leading letter may stand
  // unquoted; anything else (lower case, blanks) needs the quotes.
  return "\tfunction qn(x_name in varchar2) return varchar2 is\n"
         "\t\tlv_pos\t\tnumber := 1;\n"
         "\tbegin\n"
         "\t\tif x_name is null then\n"
         "\t\t\treturn x_name;\n"
         "\t\tend if;\n"
         "\t\tif instr('ABCDEFGHIJKLMNOPQRSTUVWXYZ', substr(x_name, 1, 1)) = 0 then\n"
         "\t\t\treturn '\"' || x_name || '\"';\n"
         "\t\tend if;\n"
         "\t\twhile lv_pos <= length(x_name) loop\n"
         "\t\t\tif instr('ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_$#', substr(x_name, lv_pos, 1)) = 0 "
         "then\n"
         "\t\t\t\treturn '\"' || x_name || '\"';\n"
         "\t\t\tend if;\n"
         "\t\t\tlv_pos := lv_pos + 1;\n"
         "\t\tend loop;\n"
         "\t\treturn x_name;\n"
         "\tend qn;\n";
}

std::string ExceptionSection(const std::string& messageEnd) {
  return "exception\n"
         "\twhen others then\n"
         "\t\trollback;\n"
         "\t\traise_application_error(-20000, 'Unexpected error on ' || lv_table_name || ', ' "
         "|| lv_column_name || ': ' || to_char(SQLCODE) || " +
         messageEnd +
         ");\n"
         "end;\n";
}

}  // namespace ddl_block
