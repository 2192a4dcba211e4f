// ConnectionViewState: what the report view keeps about its connection for the
// option pages: whether it has a connection object yet, and per catalog list
// whether it was loaded and whether it must be read again.
#pragma once

#include <array>

struct ConnectionViewState {
  static constexpr int ListCount = 10;

  bool NoConnection = true;
  std::array<bool, ListCount> CatalogListLoaded{};
  std::array<bool, ListCount> CatalogListStale{};

  // A new connection or schema: every list page reads its list again.
  void MarkListsStale() {
    CatalogListLoaded.fill(false);
    NoConnection = false;
    CatalogListStale.fill(true);
  }
};
