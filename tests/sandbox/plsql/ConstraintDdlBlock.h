// A constraint DDL block in the style of the program's generator: a join
// cursor with DECODE ordering, cursors with parameters, a %ROWTYPE record
// fetched from an index cursor, a local procedure printing column lists
// through the line writer, and a check condition cut into pieces.
// Binds :bind1 owner, :bind2 table, :bind3 storage flag, :bind4 pct flag.
#pragma once

namespace sandbox::plsql::testing {

inline constexpr char kConstraintDdlBlock[] = R"plsql(declare
	cursor tab_cursor is select upper(t.owner), upper(t.table_name), t.pct_free, t.pct_used, t.ini_trans, t.max_trans, t.tablespace_name, t.initial_extent, t.next_extent, t.min_extents, t.max_extents, t.freelists, t.freelist_groups, t.pct_increase, upper(c.constraint_name) constr_name, DECODE(constraint_type,'C','CHECK','P','PRIMARY KEY','R','FOREIGN KEY','U','UNIQUE',constraint_type) constr_type, c.search_condition search_cond, c.R_owner, c.R_constraint_name from all_tables t,all_constraints c where t.owner = :bind1 AND t.table_name = :bind2 AND t.table_name = c.table_name AND t.owner = c.owner order by DECODE(constraint_type,'P',1,'U',2,'R',3,'C',4,5), t.owner, t.table_name;
	cursor pkcol_cursor (c_own varchar2, c_tab varchar2, c_pk varchar2) is select column_name from all_cons_COLUMNS where table_name = c_tab and owner = c_own and constraint_name = c_pk order by position;
	cursor CU_pk_tabl_name (c_own varchar2, c_PK varchar2) is select table_name from all_constraints where constraint_name = c_pk and owner = c_own;
	cursor CU_ind (c_own varchar2, c_tab varchar2, c_ind varchar2) is select owner, index_name, uniqueness, tablespace_name, ini_trans, max_trans, pct_free, pct_increase, initial_extent, next_extent from all_indexes where owner = c_own AND table_name LIKE c_tab AND index_name LIKE c_ind ORDER BY 1,2;
	R_ind CU_ind%ROWTYPE;
	lv_owner all_tables.owner%TYPE;
	lv_table_name all_tables.table_name%TYPE;
	lv_pct_free all_tables.pct_free%TYPE;
	lv_pct_used all_tables.pct_used%TYPE;
	lv_ini_trans all_tables.ini_trans%TYPE;
	lv_max_trans all_tables.max_trans%TYPE;
	lv_tablespace_name all_tables.tablespace_name%TYPE;
	lv_initial_extent all_tables.initial_extent%TYPE;
	lv_next_extent all_tables.next_extent%TYPE;
	lv_min_extents all_tables.min_extents%TYPE;
	lv_max_extents all_tables.max_extents%TYPE;
	lv_freelists all_tables.freelists%TYPE;
	lv_freelist_groups all_tables.freelist_groups%TYPE;
	lv_pct_increase all_tables.pct_increase%TYPE;
	lv_constr_name all_constraints.constraint_name%TYPE;
	lv_constr_type VARCHAR2(100);
	lv_search_cond VARCHAR2(32000);
	lv_sc VARCHAR2(32000);
	lv_r_owner all_constraints.r_owner%TYPE;
	lv_r_constr all_constraints.r_constraint_name%TYPE;
	lv_ref_table all_constraints.table_name%TYPE;
	lv_column_name varchar2(128);
	a_lin varchar2(2000);
	lv_lineno number := 0;
	L_space NUMBER(3);
	L_storage CHAR(1) DEFAULT :bind3;
	L_pct CHAR(1) DEFAULT :bind4;
	function wri(x_lin in varchar2, x_str in varchar2, x_force in number) return varchar2 is
	begin
		if length(x_lin) + length(x_str) > 80 then
			lv_lineno := lv_lineno + 1; dbms_output.put_line(x_lin);
			if x_force = 0 then return x_str; else lv_lineno := lv_lineno + 1; dbms_output.put_line(x_str); return ''; end if;
		else
			if x_force = 0 then return x_lin || x_str; else lv_lineno := lv_lineno + 1; dbms_output.put_line(x_lin || x_str); return ''; end if;
		end if;
	end wri;
	procedure PR_get_constr_col(p_own in varchar2, p_tab in varchar2, p_constr in varchar2, p_type in varchar2) is
		pad varchar2(100);
		first boolean := true;
	begin
		pad := RPAD(' ', LENGTH(p_type) + 1);
		a_lin := wri(a_lin, '	' || pad || '(', 1);
		for c in pkcol_cursor(p_own, p_tab, p_constr) loop
			if first then a_lin := wri(a_lin, '	' || pad || c.column_name, 1); first := false;
			else a_lin := wri(a_lin, '	' || pad || ',' || c.column_name, 1); end if;
		end loop;
		a_lin := wri(a_lin, '	' || pad || ')', 1);
	end;
begin
	a_lin := '';
	open tab_cursor;
	loop
		fetch tab_cursor into lv_owner, lv_table_name, lv_pct_free, lv_pct_used, lv_ini_trans, lv_max_trans, lv_tablespace_name, lv_initial_extent, lv_next_extent, lv_min_extents, lv_max_extents, lv_freelists, lv_freelist_groups, lv_pct_increase, lv_constr_name, lv_constr_type, lv_search_cond, lv_r_owner, lv_r_constr;
		exit when tab_cursor%notfound;
		if not (lv_constr_type = 'CHECK' and lv_constr_name like 'SYS%' and lv_search_cond like '%IS NOT NULL') then
			a_lin := wri(a_lin, 'ALTER TABLE ' || lv_table_name || ' ADD (', 1);
			if lv_constr_type = 'CHECK' and lv_search_cond is not null then
				if lv_constr_name like 'SYS%' then
					a_lin := wri(a_lin, '	CHECK', 1);
					a_lin := wri(a_lin, '-- original system constraint name was ' || lv_constr_name, 1);
				else
					a_lin := wri(a_lin, '	CONSTRAINT ' || lv_constr_name, 1);
					a_lin := wri(a_lin, '	' || lv_constr_type, 1);
				end if;
				a_lin := wri(a_lin, '	(', 1);
				lv_sc := substr(lv_search_cond, 1, 80);
				while lv_sc is not null loop
					if instr(lv_sc, ' ') > 0 then lv_sc := substr(lv_sc, 1, instr(lv_sc, ' ', -1)); end if;
					if rtrim(lv_sc) is not null then a_lin := wri(a_lin, '	' || rtrim(lv_sc), 1); end if;
					lv_search_cond := substr(lv_search_cond, length(lv_sc) + 1);
					lv_sc := substr(lv_search_cond, 1, 80);
				end loop;
				a_lin := wri(a_lin, '	)', 1);
			else
				a_lin := wri(a_lin, '	CONSTRAINT ' || lv_constr_name, 1);
				a_lin := wri(a_lin, '	' || lv_constr_type, 1);
				PR_get_constr_col(lv_owner, lv_table_name, lv_constr_name, lv_constr_type);
			end if;
			if lv_constr_type in ('PRIMARY KEY', 'UNIQUE') then
				open CU_ind(lv_owner, lv_table_name, lv_constr_name);
				fetch CU_ind into R_ind;
				close CU_ind;
				a_lin := wri(a_lin, '	USING INDEX', 1);
				if L_pct = 'Y' then
					a_lin := wri(a_lin, '	PCTFREE    ' || R_ind.pct_free, 1);
					a_lin := wri(a_lin, '	INITRANS   ' || R_ind.ini_trans, 1);
					a_lin := wri(a_lin, '	MAXTRANS   ' || R_ind.max_trans, 1);
				end if;
				if L_storage = 'Y' then a_lin := wri(a_lin, '	TABLESPACE ' || R_ind.tablespace_name, 1); end if;
			end if;
			if lv_constr_type = 'FOREIGN KEY' then
				open CU_pk_tabl_name(lv_r_owner, lv_r_constr);
				fetch CU_pk_tabl_name into lv_ref_table;
				close CU_pk_tabl_name;
				a_lin := wri(a_lin, '	REFERENCES ' || lv_ref_table, 1);
				PR_get_constr_col(lv_r_owner, lv_ref_table, lv_r_constr, lv_constr_type);
			end if;
			a_lin := wri(a_lin, ')', 1);
			a_lin := wri(a_lin, '/', 1);
		end if;
	end loop;
	close tab_cursor;
exception
	when others then
		rollback;
		raise_application_error(-20000, 'Unexpected error on ' || lv_table_name || ', ' || lv_column_name || ': ' || to_char(SQLCODE) || ' - Aborting...scl='||LENGTH(lv_search_cond));
end;)plsql";

}  // namespace sandbox::plsql::testing
