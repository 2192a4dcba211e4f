// The stored source phase of a run wired to its connection and engine.
#include "scripting/source/SourceScripting.h"

#include <utility>

#include "engine/RunEngine.h"
#include "engine/RunHost.h"
#include "scripting/connection/DatabaseConnection.h"

SourceScripting::SourceScripting(RunEngine& engine, RunHost* host, DatabaseConnection& connection,
                                 ObjectCatalog catalog, CatalogNameMaxima& maxima)
    : lists_(connection, std::move(catalog), maxima),
      texts_(*connection.Session(),
             [host] {
               if (host != nullptr) {
                 host->StepProgress();
               }
             }),
      dependencies_(*connection.Session()),
      materializedViews_(engine, host, connection),
      phase_(engine.Settings(), engine.Output(), host, engine.Control(), lists_, texts_,
             engine.Unscripted(), &dependencies_) {
  phase_.WriteMaterializedViewsWith(&materializedViews_);
}
