// ConnectionTableList: the table list of a run taken from its database
// connection, read again through the object catalog when the selection page
// has not read it for this connection and schema.
#pragma once

#include <string>

#include "scripting/tables/ObjectCatalog.h"
#include "scripting/tables/TableListSource.h"

class DatabaseConnection;

class ConnectionTableList final : public TableListSource {
 public:
  ConnectionTableList(DatabaseConnection& connection, ObjectCatalog catalog,
                      CatalogNameMaxima& maxima, bool listLoaded);

  bool TableListLoaded() override { return listLoaded_; }
  int ReloadTableList() override;
  const CatalogList& TableList() override;
  std::string SchemaOwner() override;
  std::string DatabaseName() override;

 private:
  DatabaseConnection& connection_;
  ObjectCatalog catalog_;
  CatalogNameMaxima& maxima_;
  bool listLoaded_;
};
