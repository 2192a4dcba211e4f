// What a DDL statement is as an event of system triggers: the event's name
// (its verb) and the object it creates, changes or drops, read from the
// statement's first words as the event attribute functions report them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

class Catalog;

struct DdlEvent {
  SystemEvent event;
  // Whether the object is there before the statement runs; the BEFORE
  // triggers of a statement that changes or drops a missing object do not
  // fire, since the statement fails before it starts.
  bool objectExists = false;
};

// The event of a DDL statement; nullopt for a statement that fires no system
// trigger (ALTER SESSION, ALTER SYSTEM and the like). schema: the session's
// current schema, the owner of an unqualified name.
std::optional<DdlEvent> ReadDdlEvent(const std::vector<SqlToken>& tokens, const std::string& schema,
                                     Catalog& catalog);

}  // namespace sandbox
