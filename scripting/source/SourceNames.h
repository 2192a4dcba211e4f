// SourceNames: owner prefixes in generated source. A trigger's description
// and a unit's source may name the owner before the object, which the script
// must drop to create the object in the schema that runs it. (Names are
// quoted by the rules of OracleNames.h.)
#pragma once

#include <string>

// source of a stored unit of dictionaryType ("PACKAGE BODY" ...) with the
// owner prefix of its name dropped: the unit's text begins with its type
// keywords and its name as typed, which may name the owner.
std::string UnitWithoutOwnerPrefix(const std::string& source, const std::string& dictionaryType);

// description without a leading owner prefix ("OWNER.", "owner . " or
// "\"Owner\"."); unchanged when it does not begin with one.
std::string WithoutOwnerPrefix(const std::string& description);
