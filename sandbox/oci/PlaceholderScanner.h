// PlaceholderScanner: finds the bind placeholders (":name", ":1") of a SQL
// statement or PL/SQL block, skipping string literals, quoted identifiers and
// comments, so that binds can be checked by name and position before the
// statement reaches the server.
#pragma once

#include <string>
#include <vector>

namespace sandbox::oci {

// Placeholder names in upper case without the colon, one per occurrence, in
// the order in which they appear.
std::vector<std::string> ScanPlaceholders(const std::string& text);

// A placeholder as a client names it (":Owner", "owner") in that form ("OWNER").
std::string PlaceholderName(const std::string& placeholder);

}  // namespace sandbox::oci
