// Finding and removing line comments ("--" and SQL*Plus-style REM remarks) in
// statement text before it is sent to the server. Comment markers inside
// quoted literals and quoted identifiers are text, not comments.
#pragma once

#include <string>

// Position of the first comment: the first "--" if there is one, otherwise the
// "REM" of the first of the remark patterns that occurs; -1 when there is none.
// Matching is case-insensitive.
int FindSqlCommentStart(const std::string& text);

// Replaces each comment, up to and including its line feed, by one blank.
std::string StripSqlComments(const std::string& text);
