// The LOB storage clause of CREATE TABLE (LOB (column) STORE AS SECUREFILE |
// BASICFILE [segment] (parameters)) and the ALL_LOBS row Oracle keeps for
// every CLOB, NCLOB and BLOB column, with or without such a clause.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

struct LobSpec {
  std::vector<std::string> columns;
  std::string segmentName;  // empty: the server names it
  bool secureFile = true;   // release 19 makes SECUREFILE LOBs unless told otherwise
  std::optional<std::string> tablespace;
  std::optional<long long> chunk;
  bool inRow = true;
  bool cache = false;
  bool logging = true;
  std::string compression;  // HIGH, MEDIUM, LOW; empty when not compressed
  bool deduplicate = false;
};

// Reads what follows the word LOB.
bool ReadLobClause(TokenStream& in, LobSpec& spec, OraError& error);

// Rows of ALL_LOBS for the LOB columns of a new table; tableSpace is where
// its LOBs go by default.
bool AddLobRows(Catalog& catalog, const std::string& owner, const std::string& table,
                const std::vector<LobSpec>& specs, const std::string& tableSpace, bool partitioned,
                OraError& error);

bool RemoveLobRows(Catalog& catalog, const std::string& owner, const std::string& table,
                   OraError& error);

}  // namespace sandbox
