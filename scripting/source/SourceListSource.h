// SourceListSource: the run's object list of each stored source kind and the
// connection facts the source phase frames it with. A list is in name order;
// the object name is in name slot 1.
#pragma once

#include <string>

#include "scripting/connection/CatalogItem.h"

struct SourceKind;

class SourceListSource {
 public:
  virtual ~SourceListSource() = default;

  // The kind's list was already read for the current connection and schema.
  virtual bool ListLoaded(const SourceKind& kind) = 0;
  // Reads the kind's objects again (the longest-name maximum starts over);
  // returns how many were read.
  virtual int ReloadList(const SourceKind& kind) = 0;
  virtual const CatalogList& List(const SourceKind& kind) = 0;
  // The schema every phase scripts.
  virtual std::string SchemaOwner() = 0;
  // The name the report gives the database.
  virtual std::string DatabaseName() = 0;
};
