// The run's table list over its database connection.
#include "scripting/tables/ConnectionTableList.h"

#include <utility>

#include "scripting/connection/DatabaseConnection.h"

ConnectionTableList::ConnectionTableList(DatabaseConnection& connection, ObjectCatalog catalog,
                                         CatalogNameMaxima& maxima, bool listLoaded)
    : connection_(connection),
      catalog_(std::move(catalog)),
      maxima_(maxima),
      listLoaded_(listLoaded) {}

int ConnectionTableList::ReloadTableList() {
  maxima_.MaxTableNameLength = 0;
  CatalogList& tables = connection_.Lists().Tables;
  tables.clear();
  return catalog_.ListTablesOrViews(true, tables, true);
}

const CatalogList& ConnectionTableList::TableList() {
  return connection_.Lists().Tables;
}

std::string ConnectionTableList::SchemaOwner() {
  return connection_.CurrentSchema();
}

std::string ConnectionTableList::DatabaseName() {
  return connection_.DisplayName();
}
