// The column lines of the CREATE TABLE block. Hidden columns the server
// adds (for function-based indexes) are left out, invisible ones written as
// such; identity and virtual columns are written as such, not as a default,
// so that a replay creates the same kind of column.
#include "scripting/tables/TableColumnDdl.h"

#include "scripting/tables/DdlBlockPieces.h"
#include "scripting/tables/ServerRelease.h"

namespace ddl_block {

std::string ColumnDeclarations(int release) {
  using namespace dictionary_since;
  const bool tabCols = ReleaseHas(release, CharacterSemantics);
  const bool identity = ReleaseHas(release, IdentityColumns);
  const bool invisible = ReleaseHas(release, InvisibleColumns);
  const std::string view = tabCols ? "all_tab_cols" : "all_tab_columns";
  // Visible columns in column order; an invisible one after the visible
  // column it followed when the table was made, so that both orders survive.
  const std::string order = invisible
                                ? "\t\torder by nvl(column_id, (select nvl(max(v.column_id), 0)\n"
                                  "\t\t\tfrom all_tab_cols v where v.owner = c.owner\n"
                                  "\t\t\tand v.table_name = c.table_name\n"
                                  "\t\t\tand v.internal_column_id < c.internal_column_id)),\n"
                                  "\t\t\tcolumn_id nulls last, internal_column_id;\n"
                                : "\t\torder by column_id;\n";
  const auto anchored = [&view](const char* variable, const char* column) {
    return std::string("\t") + variable + "\t\t" + view + "." + column + "%%TYPE;\n";
  };
  return "\tcursor col_cursor (c_own varchar2, c_tab varchar2) is\n"
         "\t\tselect owner, column_name, upper(data_type), data_length, data_precision,\n"
         "\t\t\tdata_scale, nullable, default_length, data_default, column_id,\n" +
         std::string(tabCols ? "\t\t\tchar_length, char_used, "
                             : "\t\t\tdata_length char_length, 'B' char_used, ") +
         (ReleaseHas(release, VirtualColumns) ? "virtual_column, " : "'NO' virtual_column, ") +
         (identity ? "identity_column, default_on_null,\n"
                   : "'NO' identity_column, 'NO' default_on_null,\n") +
         (invisible ? "\t\t\thidden_column\n" : "\t\t\t'NO' hidden_column\n") + "\t\tfrom " + view +
         " c\n" + "\t\twhere table_name = c_tab and owner = c_own" +
         (invisible ? " and user_generated = 'YES'"
          : tabCols ? " and hidden_column = 'NO'"
                    : "") +
         "\n" + order +
         // Check constraints on one column; the block picks the one whose
         // condition is exactly that column IS NOT NULL (search_condition is
         // a LONG, which SQL cannot compare).
         "\tcursor nn_cursor (c_own varchar2, c_tab varchar2, c_col varchar2) is\n"
         "\t\tselect c.constraint_name, " +
         ConstraintStateColumns(release, "c.") +
         ", c.search_condition\n"
         "\t\tfrom all_constraints c, all_cons_columns k\n"
         "\t\twhere k.owner = c_own and k.table_name = c_tab and k.column_name = c_col\n"
         "\t\t\tand c.owner = k.owner and c.constraint_name = k.constraint_name\n"
         "\t\t\tand c.table_name = k.table_name and c.constraint_type = 'C';\n" +
         // The sequence's next value, so that rows inserted later do not take
         // the values of rows the table already held.
         (identity ? "\tcursor id_cursor (c_own varchar2, c_tab varchar2, c_col varchar2) is\n"
                     "\t\tselect i.generation_type, i.identity_options,\n"
                     "\t\t\t(select s.last_number from all_sequences s\n"
                     "\t\t\twhere s.sequence_owner = i.owner and s.sequence_name = "
                     "i.sequence_name) next_value\n"
                     "\t\tfrom all_tab_identity_cols i\n"
                     "\t\twhere i.owner = c_own and i.table_name = c_tab and i.column_name = "
                     "c_col;\n"
                   : "") +
         anchored("lv_col_owner", "owner") + anchored("lv_column_name", "column_name") +
         anchored("lv_data_type", "data_type") + anchored("lv_data_length", "data_length") +
         anchored("lv_data_precision", "data_precision") + anchored("lv_data_scale", "data_scale") +
         anchored("lv_nullable", "nullable") + anchored("lv_default_length", "default_length") +
         anchored("lv_data_default", "data_default") + anchored("lv_column_id", "column_id") +
         "\tlv_char_length\t\tnumber;\n"
         "\tlv_char_used\t\tvarchar2(1);\n"
         "\tlv_virtual\t\tvarchar2(3);\n"
         "\tlv_identity\t\tvarchar2(3);\n"
         "\tlv_on_null\t\tvarchar2(3);\n"
         "\tlv_invisible\t\tvarchar2(3);\n"
         "\tlv_col_count\t\tnumber;\n"
         "\tlv_null_clause\t\tvarchar2(400);\n"
         "\tlv_implied_nn\t\tboolean;\n";
}

std::string IdentityOptionFunction() {
  return "\tfunction ident_opt(x_options in varchar2, x_key in varchar2) return varchar2 is\n"
         "\t\tlv_from\t\tnumber;\n"
         "\t\tlv_to\t\tnumber;\n"
         "\tbegin\n"
         "\t\tlv_from := instr(x_options, x_key || ': ');\n"
         "\t\tif lv_from = 0 then\n"
         "\t\t\treturn null;\n"
         "\t\tend if;\n"
         "\t\tlv_from := lv_from + length(x_key) + 2;\n"
         "\t\tlv_to := instr(x_options, ',', lv_from);\n"
         "\t\tif lv_to = 0 then\n"
         "\t\t\tlv_to := length(x_options) + 1;\n"
         "\t\tend if;\n"
         "\t\treturn substr(x_options, lv_from, lv_to - lv_from);\n"
         "\tend ident_opt;\n";
}

namespace {

// The type as it was declared: character lengths in the unit they were
// given in, NUMBER(*,0) for INTEGER.
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

// The sequence options of an identity column, each of them, so that the
// rebuilt column counts as the old one did.
std::string IdentityClause() {
  return "\t\t\t\tfor r_id in id_cursor(lv_owner, lv_table_name, lv_column_name) loop\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' GENERATED ' || r_id.generation_type, 0);\n"
         "\t\t\t\t\tif lv_on_null = 'YES' then\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' ON NULL', 0);\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' AS IDENTITY (START WITH ' ||\n"
         "\t\t\t\t\t\tnvl(to_char(r_id.next_value),\n"
         "\t\t\t\t\t\tident_opt(r_id.identity_options, 'START WITH')), 0);\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' INCREMENT BY ' ||\n"
         "\t\t\t\t\t\tident_opt(r_id.identity_options, 'INCREMENT BY'), 0);\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' MAXVALUE ' ||\n"
         "\t\t\t\t\t\tident_opt(r_id.identity_options, 'MAX_VALUE'), 0);\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' MINVALUE ' ||\n"
         "\t\t\t\t\t\tident_opt(r_id.identity_options, 'MIN_VALUE'), 0);\n"
         "\t\t\t\t\tif ident_opt(r_id.identity_options, 'CYCLE_FLAG') = 'Y' then\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' CYCLE', 0);\n"
         "\t\t\t\t\telse\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' NOCYCLE', 0);\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\tif nvl(ident_opt(r_id.identity_options, 'CACHE_SIZE'), '0') = '0' then\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' NOCACHE', 0);\n"
         "\t\t\t\t\telse\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' CACHE ' ||\n"
         "\t\t\t\t\t\t\tident_opt(r_id.identity_options, 'CACHE_SIZE'), 0);\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\tif ident_opt(r_id.identity_options, 'ORDER_FLAG') = 'Y' then\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' ORDER)', 0);\n"
         "\t\t\t\t\telse\n"
         "\t\t\t\t\t\ta_lin := wri(a_lin, ' NOORDER)', 0);\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\tend loop;\n";
}

// What follows the type: the identity clause, the virtual column's
// expression, or the default (with ON NULL when it has it). The dictionary
// keeps the blanks that followed a default; written back they would grow
// with every round of scripting.
std::string ValueClause(bool identity) {
  return (identity ? "\t\t\tif lv_identity = 'YES' then\n" + IdentityClause() + "\t\t\tels"
                   : std::string("\t\t\t")) +
         "if lv_virtual = 'YES' then\n"
         "\t\t\t\ta_lin := wri(a_lin, ' GENERATED ALWAYS AS (', 0);\n"
         "\t\t\t\ta_lin := wri(a_lin, rtrim(lv_data_default, ' ' || chr(9) || chr(10) || "
         "chr(13)) || ') VIRTUAL', 0);\n"
         "\t\t\telsif lv_default_length != 0 and not late_default(lv_data_default, lv_on_null) "
         "then\n"
         "\t\t\t\tif lv_on_null = 'YES' then\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' DEFAULT ON NULL ', 0);\n"
         "\t\t\t\telse\n"
         "\t\t\t\t\ta_lin := wri(a_lin, ' DEFAULT ', 0);\n"
         "\t\t\t\tend if;\n"
         "\t\t\t\ta_lin := wri(a_lin, rtrim(lv_data_default, ' ' || chr(9) || chr(10) || "
         "chr(13)), 0);\n"
         "\t\t\tend if;\n";
}

// An identity column and a DEFAULT ON NULL column get their NOT NULL
// constraint from the server; only a named one is written.
std::string NullClause() {
  return "\t\t\tlv_implied_nn := nvl(lv_identity, 'NO') = 'YES' or nvl(lv_on_null, 'NO') = 'YES';\n"
         "\t\t\tlv_null_clause := '\t    NULL';\n"
         "\t\t\tif lv_implied_nn then\n"
         "\t\t\t\tlv_null_clause := '';\n"
         "\t\t\tend if;\n"
         "\t\t\tfor r_nn in nn_cursor(lv_owner, lv_table_name, lv_column_name) loop\n"
         "\t\t\t\tif r_nn.search_condition = '\"' || lv_column_name || '\" IS NOT NULL' then\n"
         "\t\t\t\t\tif r_nn.generated != 'GENERATED NAME' then\n"
         "\t\t\t\t\t\tlv_null_clause := '\tCONSTRAINT ' || qn(r_nn.constraint_name) || "
         "' NOT NULL';\n"
         "\t\t\t\t\telsif not lv_implied_nn then\n"
         "\t\t\t\t\t\tlv_null_clause := '\tNOT NULL';\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\t\tif lv_null_clause is not null then\n"
         "\t\t\t\t\t\tlv_null_clause := rtrim(lv_null_clause || ' ' || cstate(r_nn.deferrable,\n"
         "\t\t\t\t\t\t\tr_nn.deferred, r_nn.status, r_nn.validated));\n"
         "\t\t\t\t\tend if;\n"
         "\t\t\t\tend if;\n"
         "\t\t\tend loop;\n"
         "\t\t\ta_lin := wri(a_lin, lv_null_clause, 1);\n";
}

}  // namespace

std::string ColumnFetchLoop() {
  return "\t\topen col_cursor(lv_owner, lv_table_name);\n"
         "\t\tloop\n"
         "\t\t\tfetch col_cursor into lv_col_owner, lv_column_name, lv_data_type,\n"
         "\t\t\t\tlv_data_length, lv_data_precision, lv_data_scale, lv_nullable,\n"
         "\t\t\t\tlv_default_length, lv_data_default, lv_column_id, lv_char_length,\n"
         "\t\t\t\tlv_char_used, lv_virtual, lv_identity, lv_on_null, lv_invisible;\n"
         "\t\t\texit when col_cursor%%notfound;\n";
}

std::string ColumnLoop(int release) {
  return "\t\tlv_col_count := 0;\n" + ColumnFetchLoop() +
         "\t\t\tlv_col_count := lv_col_count + 1;\n"
         "\t\t\tif lv_col_count > 1 then\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t,', 0);\n"
         "\t\t\telse\n"
         "\t\t\t\ta_lin := wri(a_lin, '\t ', 0);\n"
         "\t\t\tend if;\n"
         "\t\t\ta_lin := wri(a_lin, qn(lv_column_name), 0);\n"
         // An object table's columns are its type's attributes: no type of their own.
         "\t\t\tif lv_table_type is null then\n" +
         ColumnType() + "\t\t\tend if;\n" +
         "\t\t\tif lv_invisible = 'YES' then\n"
         "\t\t\t\ta_lin := wri(a_lin, ' INVISIBLE', 0);\n"
         "\t\t\tend if;\n" +
         ValueClause(ReleaseHas(release, dictionary_since::IdentityColumns)) + NullClause() +
         "\t\tend loop;\n"
         "\t\tclose col_cursor;\n";
}

}  // namespace ddl_block
