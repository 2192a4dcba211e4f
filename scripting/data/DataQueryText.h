// DataQueryText: the text work of a data query: comments out, the FROM
// clause and the table it names found, the select list replaced by the
// described columns, names quoted where they must be, percent signs doubled
// for the statement layer, and the ignored-column patterns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text without block comments; a text whose first comment is an
// optimizer hint ("/*+") is returned unchanged.
std::string StripBlockComments(const std::string& text);

// Every "%" doubled: the statement layer reduces "%%" to "%".
std::string DoublePercents(std::string_view text);

// A name as written in SQL: plain when it is an upper-case identifier, else
// in double quotes with inner quotes doubled.
std::string SqlName(std::string_view name);
// The name in double quotes, always.
std::string QuotedName(std::string_view name);

// Where the FROM keyword of the outermost query begins, in any case and
// outside literals, quoted names and parentheses; npos when there is none.
std::size_t FindFromKeyword(std::string_view query);

// The table named after the FROM keyword at from: unquoted parts upper-cased,
// quoted parts kept as written.
std::string TargetTableAfter(std::string_view query, std::size_t from);

// The head of the query that stays when its select list is replaced: the
// text up to and including the SELECT keyword of the outermost query and a
// following hint and DISTINCT, UNIQUE or ALL. Empty when there is no SELECT
// before from.
std::string SelectHead(std::string_view query, std::size_t from);

// True when the upper-cased name matches a pattern: equal to it, or, for a
// pattern holding "%", starting with the part before and ending with the part
// after the "%".
bool IsColumnIgnored(const std::string& name, const std::vector<std::string>& patterns);
