// TableListSource: the run's table list and the connection facts the table
// phases frame it with. The list keeps the order in which the catalog
// delivered it; the table name is in name slot 1.
#pragma once

#include <string>

#include "scripting/connection/CatalogItem.h"

class TableListSource {
 public:
  virtual ~TableListSource() = default;

  // The list was already read for the current connection and schema.
  virtual bool TableListLoaded() = 0;
  // Reads the schema's tables again (the longest-name maximum starts over);
  // returns how many were read.
  virtual int ReloadTableList() = 0;
  virtual const CatalogList& TableList() = 0;
  // The schema every phase scripts.
  virtual std::string SchemaOwner() = 0;
  // The name the report gives the database.
  virtual std::string DatabaseName() = 0;
};
