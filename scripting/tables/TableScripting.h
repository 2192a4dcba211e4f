// TableScripting: the table phases of one run over its database connection,
// with the table list and the DDL generator they use. The table phase
// builds it; the index and constraint phases of the same run reuse it.
#pragma once

#include "scripting/tables/ConnectionTableList.h"
#include "scripting/tables/DdlGenerator.h"
#include "scripting/tables/TablePhases.h"

class RunEngine;
class RunHost;

class TableScripting {
 public:
  TableScripting(RunEngine& engine, RunHost* host, DatabaseConnection& connection,
                 ObjectCatalog catalog, CatalogNameMaxima& maxima);

  TablePhases& Phases() { return phases_; }

 private:
  ConnectionTableList tables_;
  DdlGenerator ddl_;
  TablePhases phases_;
};
