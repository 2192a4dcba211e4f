// CatalogItem: one object of a schema listing (table, view, stored unit). The
// two name slots and markers follow the two-database layout that the catalog
// shares with the comparing tools: a listing fills one slot, the selection and
// run steps use the markers.
#pragma once

#include <array>
#include <string>
#include <vector>

struct CatalogItem {
  std::array<std::string, 2> Names;
  std::array<int, 2> Markers{0, 0};

  // The name in slot 1 (firstSlot) or slot 2.
  const std::string& Name(bool firstSlot = true) const { return Names[firstSlot ? 0 : 1]; }
};

using CatalogList = std::vector<CatalogItem>;

// The catalog lists a connection holds for the option pages and the phases.
struct CatalogLists {
  CatalogList Tables;
  CatalogList Views;
  CatalogList Procedures;
  CatalogList Functions;
  CatalogList Packages;
  CatalogList PackageBodies;
  CatalogList Types;
  CatalogList TypeBodies;
  CatalogList Triggers;
  CatalogList ViewSources;

  void Clear() { *this = CatalogLists(); }
};
