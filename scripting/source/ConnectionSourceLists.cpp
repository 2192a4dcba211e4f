// The run's stored source lists over its database connection.
#include "scripting/source/ConnectionSourceLists.h"

#include <utility>

#include "scripting/connection/DatabaseConnection.h"
#include "scripting/source/SourceKinds.h"

ConnectionSourceLists::ConnectionSourceLists(DatabaseConnection& connection, ObjectCatalog catalog,
                                             CatalogNameMaxima& maxima)
    : connection_(connection), catalog_(std::move(catalog)), maxima_(maxima) {}

int ConnectionSourceLists::ReloadList(const SourceKind& kind) {
  maxima_.MaxObjectNameLength = 0;
  CatalogList& list = connection_.Lists().*kind.list;
  list.clear();
  return catalog_.ListObjects(true, &list, kind.dictionaryType);
}

const CatalogList& ConnectionSourceLists::List(const SourceKind& kind) {
  return connection_.Lists().*kind.list;
}

std::string ConnectionSourceLists::SchemaOwner() {
  return connection_.CurrentSchema();
}

std::string ConnectionSourceLists::DatabaseName() {
  return connection_.DisplayName();
}
