// ConnectionSourceLists: the stored source lists of a run taken from its
// database connection, read again through the object catalog when the
// selection pages have not read them for this connection and schema.
#pragma once

#include <string>

#include "scripting/source/SourceListSource.h"
#include "scripting/tables/ObjectCatalog.h"

class DatabaseConnection;

class ConnectionSourceLists final : public SourceListSource {
 public:
  ConnectionSourceLists(DatabaseConnection& connection, ObjectCatalog catalog,
                        CatalogNameMaxima& maxima);

  // The selection pages' list flags are not visible here: every kind is read
  // again, which gives the same list.
  bool ListLoaded(const SourceKind&) override { return false; }
  int ReloadList(const SourceKind& kind) override;
  const CatalogList& List(const SourceKind& kind) override;
  std::string SchemaOwner() override;
  std::string DatabaseName() override;

 private:
  DatabaseConnection& connection_;
  ObjectCatalog catalog_;
  CatalogNameMaxima& maxima_;
};
