// The PL/SQL pieces that the three DDL generator blocks share: the wri line
// writer, the identifier quoting function and the exception section. Every
// text is a run of template lines ending in "\n", with "%%" wherever the
// server must see "%" (OracleStatement::Prepare reduces it).
#pragma once

#include <string>

namespace ddl_block {

// function wri(x_lin, x_str, x_force): accumulates pieces in the caller's
// pending line (force 0) or prints it (force 1); a line that would pass 80
// characters is printed first. Counts printed lines in lv_lineno, which the
// block declares.
std::string LineWriterFunction();

// function qn(x_name): the name as it must stand in DDL: unchanged when it is
// a plain upper-case identifier, else as a quoted identifier, so that a
// script recreates a table named "Orders" under that exact name.
std::string NameQuoteFunction();

// function lit(x_text): x_text as an SQL literal, in quotes, its quotes
// doubled.
std::string LiteralFunction();

// procedure pcs(x_text): x_text as lines "|| 'piece'" and "|| CHR(10)" (and
// CHR(13)) that an EXECUTE IMMEDIATE adds up to it again; no line of them is
// one a command-line SQL tool takes for its own. Needs lit and wri.
std::string PiecesProcedure();

// function plain_lines(x_cond, x_longest): true when x_cond can be printed
// line for line as it is stored: a script tool would take a blank line, one
// of nothing but "/" or ".", or one ending in ";" as the end of the
// statement, and a line that begins with "#" as a command of its own; a line
// past x_longest characters may be too long for the server's output buffer.
std::string PlainLinesFunction();

// The pending line a_lin, the line counter and the two switches :bind3 and
// :bind4. a_lin holds any piece it can be given (a 128-byte quoted name, a
// default of any length), so no statement is ever cut by a value error.
std::string LineVariables();

// function cstate(deferrable, deferred, status, validated): the words that
// give a constraint back its state ("DEFERRABLE INITIALLY DEFERRED DISABLE",
// "ENABLE NOVALIDATE" ...), empty for an enabled, validated, immediate one.
std::string ConstraintStateFunction();

// The select-list items generated, status, deferrable, deferred and
// validated of all_constraints (columns prefixed by prefix), with their
// implied values on a release 7 server, whose dictionary lacks them.
std::string ConstraintStateColumns(int release, const std::string& prefix);

// Declarations of lv_owner, lv_table_name and the table's storage values
// (PCT, extents, free lists), anchored to all_tables, that the table and
// constraint blocks both fetch into.
std::string TableStorageVariables();

// The closing section of a block: "when others" rolls back and raises
// ORA-20000 naming the table, the column and the SQLCODE, followed by the
// PL/SQL expression messageEnd.
// The view that lists every table of a server of release: ALL_ALL_TABLES,
// which has object tables too, where the release has it.
std::string TablesView(int release);

std::string ExceptionSection(const std::string& messageEnd = "' - Aborting...'");

}  // namespace ddl_block
