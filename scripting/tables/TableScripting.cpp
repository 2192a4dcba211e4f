// The table phases of a run wired to its connection and engine.
#include "scripting/tables/TableScripting.h"

#include <utility>

#include "engine/RunEngine.h"
#include "scripting/connection/DatabaseConnection.h"

TableScripting::TableScripting(RunEngine& engine, RunHost* host, DatabaseConnection& connection,
                               ObjectCatalog catalog, CatalogNameMaxima& maxima)
    // The selection page's list flags are not visible here: the list is read
    // again, which gives the same list.
    : tables_(connection, std::move(catalog), maxima, false),
      ddl_(*connection.Session()),
      phases_(engine.Settings(), engine.Output(), host, engine.Control(), tables_, ddl_,
              engine.Unscripted()) {}
