// A table DDL block in the style of the program's generator: dictionary
// cursors with parameters, %TYPE declarations, a line writer keeping state,
// size texts, a nested block and the closing WHEN OTHERS. Binds :bind1 owner,
// :bind2 table, :bind3 storage flag, :bind4 pct flag.
#pragma once

namespace sandbox::plsql::testing {

inline constexpr char kTableDdlBlock[] = R"plsql(declare
	cursor tab_cursor is
		select upper(owner), upper(table_name), pct_free, pct_used, ini_trans, max_trans, tablespace_name, initial_extent, next_extent, min_extents, max_extents, freelists, freelist_groups, pct_increase from all_tables where owner != 'SYS' AND owner = :bind1 AND table_name = :bind2 order by owner, table_name;
	cursor col_cursor (c_own varchar2, c_tab varchar2) is
		select owner, upper(column_name), upper(data_type), data_length, data_precision, data_scale, nullable, default_length, data_default, column_id from all_tab_columns where table_name = c_tab and owner = c_own order by column_id;
	lv_owner		all_tables.owner%TYPE;
	lv_table_name		all_tables.table_name%TYPE;
	lv_pct_free		all_tables.pct_free%TYPE;
	lv_pct_used		all_tables.pct_used%TYPE;
	lv_ini_trans		all_tables.ini_trans%TYPE;
	lv_max_trans		all_tables.max_trans%TYPE;
	lv_tablespace_name	all_tables.tablespace_name%TYPE;
	lv_initial_extent	all_tables.initial_extent%TYPE;
	lv_next_extent		all_tables.next_extent%TYPE;
	lv_min_extents		all_tables.min_extents%TYPE;
	lv_max_extents		all_tables.max_extents%TYPE;
	lv_freelists		all_tables.freelists%TYPE;
	lv_freelist_groups	all_tables.freelist_groups%TYPE;
	lv_pct_increase		all_tables.pct_increase%TYPE;
	lv_column_name		all_tab_columns.column_name%TYPE;
	initial_extent_size	varchar2(16);
	next_extent_size	varchar2(16);
	a_lin			varchar2(80);
	lv_lineno		number := 0;
	lv_columns		integer := 0;
	L_storage		CHAR(1) DEFAULT :bind3;
	L_pct			CHAR(1) DEFAULT :bind4;
	function wri(x_lin in varchar2, x_str in varchar2, x_force in number) return varchar2 is
	begin
		if length(x_lin) + length(x_str) > 80 then
			lv_lineno := lv_lineno + 1;
			dbms_output.put_line(x_lin);
			if x_force = 0 then
				return x_str;
			else
				lv_lineno := lv_lineno + 1;
				dbms_output.put_line(x_str);
				return '';
			end if;
		else
			if x_force = 0 then
				return x_lin || x_str;
			else
				lv_lineno := lv_lineno + 1;
				dbms_output.put_line(x_lin || x_str);
				return '';
			end if;
		end if;
	end wri;
	function size_text(n in number) return varchar2 is
	begin
		if mod(n, 1048576) = 0 then
			return to_char(n / 1048576) || 'M';
		elsif mod(n, 1024) = 0 then
			return to_char(n / 1024) || 'K';
		end if;
		return to_char(n);
	end;
begin
	a_lin := '';
	open tab_cursor;
	loop
		fetch tab_cursor into lv_owner, lv_table_name, lv_pct_free, lv_pct_used, lv_ini_trans,
			lv_max_trans, lv_tablespace_name, lv_initial_extent, lv_next_extent, lv_min_extents,
			lv_max_extents, lv_freelists, lv_freelist_groups, lv_pct_increase;
		exit when tab_cursor%NOTFOUND;
		a_lin := wri(a_lin, 'CREATE TABLE ', 0);
		a_lin := wri(a_lin, lv_table_name, 0);
		a_lin := wri(a_lin, ' (', 1);
		if to_char(lv_ini_trans) = '0' then lv_ini_trans := 1; end if;
		if to_char(lv_max_trans) = '0' then lv_max_trans := 1; end if;
		for col in col_cursor(lv_owner, lv_table_name) loop
			lv_column_name := col."UPPER(COLUMN_NAME)";
			lv_columns := lv_columns + 1;
			if col.column_id <> 1 then
				a_lin := wri(a_lin, '	,', 0);
			else
				a_lin := wri(a_lin, '	 ', 0);
			end if;
			a_lin := wri(a_lin, lv_column_name, 0);
			a_lin := wri(a_lin, '	' || col."UPPER(DATA_TYPE)", 0);
			if col."UPPER(DATA_TYPE)" in ('CHAR', 'VARCHAR2', 'RAW') then
				a_lin := wri(a_lin, '(' || col.data_length || ')', 0);
			end if;
			if (col."UPPER(DATA_TYPE)" = 'NUMBER' and nvl(col.data_precision, 0) != 0)
				or col."UPPER(DATA_TYPE)" = 'FLOAT' then
				if nvl(col.data_scale, 0) = 0 then
					a_lin := wri(a_lin, '(' || col.data_precision || ')', 0);
				else
					a_lin := wri(a_lin, '(' || col.data_precision || ',' || col.data_scale || ')', 0);
				end if;
			end if;
			if col.default_length != 0 then
				if col.default_length < 80 then
					a_lin := wri(a_lin, ' DEFAULT ', 0);
					a_lin := wri(a_lin, col.data_default, 0);
				else
					a_lin := wri(a_lin, 'Skipping default clause on ' || 'column ' || lv_column_name, 1);
				end if;
			end if;
			if col.nullable = 'N' then
				a_lin := wri(a_lin, '	NOT NULL', 1);
			else
				a_lin := wri(a_lin, '	    NULL', 1);
			end if;
		end loop;
		a_lin := wri(a_lin, ')', 1);
		if L_pct = 'Y' then
			a_lin := wri(a_lin, 'PCTFREE  ' || lv_pct_free, 1);
			a_lin := wri(a_lin, 'PCTUSED  ' || lv_pct_used, 1);
			a_lin := wri(a_lin, 'INITRANS ' || lv_ini_trans, 1);
			a_lin := wri(a_lin, 'MAXTRANS ' || lv_max_trans, 1);
		end if;
		if L_storage = 'Y' then
			a_lin := wri(a_lin, 'TABLESPACE ' || lv_tablespace_name, 1);
			a_lin := wri(a_lin, '    STORAGE (', 1);
			initial_extent_size := size_text(lv_initial_extent);
			next_extent_size := size_text(lv_next_extent);
			a_lin := wri(a_lin, '	INITIAL ' || initial_extent_size, 1);
			a_lin := wri(a_lin, '	NEXT ' || next_extent_size, 1);
			a_lin := wri(a_lin, '	MINEXTENTS ' || lv_min_extents, 1);
			a_lin := wri(a_lin, '	MAXEXTENTS ' || lv_max_extents, 1);
			a_lin := wri(a_lin, '	PCTINCREASE ' || lv_pct_increase, 1);
			a_lin := wri(a_lin, '	FREELISTS ' || lv_freelists, 0);
			a_lin := wri(a_lin, ' FREELIST GROUPS ' || lv_freelist_groups, 1);
			a_lin := wri(a_lin, '        )', 1);
		end if;
		a_lin := wri(a_lin, '/', 1);
	end loop;
	dbms_output.put_line('-- tables ' || tab_cursor%ROWCOUNT || ', columns ' || lv_columns ||
		', lines ' || lv_lineno);
	close tab_cursor;
	declare
		n number;
	begin
		select count(*) into n from all_tab_columns where owner = lv_owner;
		dbms_output.put_line('-- dictionary columns ' || n);
		while n > 0 loop
			n := n - 2;
		end loop;
		if n between -1 and 0 and lv_owner like 'DE%' then
			dbms_output.put_line('-- ' || decode(n, 0, 'even', 'odd'));
		end if;
	exception
		when no_data_found then dbms_output.put_line('-- none');
	end;
exception
	when others then
		rollback;
		raise_application_error(-20000, 'Unexpected error on ' || lv_table_name || ', ' ||
			lv_column_name || ': ' || to_char(SQLCODE) || ' - Aborting...');
end;)plsql";

}  // namespace sandbox::plsql::testing
