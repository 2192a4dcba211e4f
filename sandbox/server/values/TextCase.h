// Case mapping of UTF-8 text by Unicode's simple rules: what UPPER, LOWER
// and INITCAP (and their NLS_ forms) give, in SQL and in PL/SQL alike.
#pragma once

#include <optional>
#include <string>

namespace sandbox {

enum class CaseChange { Upper, Lower, Initial };

// What an NLS_SORT changes in case mapping: German's sharp s (upper case SS),
// Dutch's IJ (capitalized together) and Turkish's dotted and dotless i.
enum class CaseRules { Binary, German, Dutch, Turkish };

// 'NLS_SORT = name', blanks and case free; nullopt for another parameter
// (ORA-12702). Sorts without case rules of their own map as BINARY does.
std::optional<CaseRules> ReadCaseRules(const std::string& text);

// INITCAP capitalizes the first letter of each run of letters and digits.
std::string ChangeTextCase(const std::string& text, CaseChange change,
                           CaseRules rules = CaseRules::Binary);

}  // namespace sandbox
