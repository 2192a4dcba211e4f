// SourceNames: Oracle identifiers in generated source. A dictionary name is
// written unquoted only when it reads back as itself (a plain upper-case
// identifier that is not a reserved word); anything else is quoted, so that
// lower-case, mixed-case and blank-holding names survive the script. A
// trigger's description may begin with its owner, which the script must drop
// to create the trigger in the schema that runs it.
#pragma once

#include <string>

// name as it must appear in a statement.
std::string QuotedName(const std::string& name);

// description without a leading owner prefix ("OWNER.", "owner . " or
// "\"Owner\"."); unchanged when it does not begin with one.
std::string WithoutOwnerPrefix(const std::string& description);
