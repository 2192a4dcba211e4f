// SourceScripting: the stored source phase of one run wired to its database
// connection: the connection's source lists, the dictionary definitions and
// dependencies of its session, its materialized views and the run's report,
// settings and control.
#pragma once

#include "scripting/source/ConnectionSourceLists.h"
#include "scripting/source/DictionaryDependencies.h"
#include "scripting/source/DictionarySourceText.h"
#include "scripting/source/OtherObjectScripting.h"
#include "scripting/source/SourcePhase.h"

class RunEngine;
class RunHost;

class SourceScripting {
 public:
  SourceScripting(RunEngine& engine, RunHost* host, DatabaseConnection& connection,
                  ObjectCatalog catalog, CatalogNameMaxima& maxima);

  SourcePhase& Phase() { return phase_; }

 private:
  ConnectionSourceLists lists_;
  DictionarySourceText texts_;
  DictionaryDependencies dependencies_;
  ConnectionMaterializedViews materializedViews_;
  SourcePhase phase_;
};
