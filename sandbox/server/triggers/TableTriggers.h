// The user triggers of a table as they fire: read from the dictionary
// (ALL_TRIGGERS, ALL_OBJECTS, ALL_TAB_COLS) and kept per schema generation,
// so that DML on a table without triggers costs one lookup of its name.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "sandbox/server/ServerDatabase.h"

namespace sandbox {

enum class DmlEvent { Insert, Update, Delete };

struct TableTrigger {
  enum class Timing { Before, After, InsteadOf };
  std::string owner, name;
  std::string qualifiedName;  // "OWNER.NAME", as error trails name it
  Timing timing = Timing::Before;
  bool eachRow = false;
  // A compound trigger fires at each timing point its body has a section
  // for; its timing is then no part of it.
  bool compound = false;
  std::set<DmlEvent> events;
  std::vector<std::string> updateColumns;  // UPDATE OF; empty for any update
  std::string when;                        // WHEN condition as placeholders; empty for none
  std::string body;                        // the body as placeholders
  bool enabled = true;
  bool valid = true;

  // Whether an event of a statement that sets setColumns (an UPDATE's) fires it.
  bool FiresFor(DmlEvent event, const std::vector<std::string>& setColumns) const;
};

// A table's (or view's) triggers in firing order (creation order) and its
// columns.
struct TableTriggers {
  std::string owner, table;
  bool isView = false;                 // whose triggers are all INSTEAD OF
  std::vector<std::string> columns;    // in column order, hidden ones left out
  std::vector<bool> writable;          // per column: not virtual
  std::vector<std::string> visible;    // the columns an INSERT without a list fills
  std::vector<std::string> defaults;   // per column: its DEFAULT text, empty for none
  std::vector<TableTrigger> triggers;  // enabled or not

  std::string QualifiedName() const { return owner + "." + table; }
};

class TriggerCache {
 public:
  // The triggers of the table stored as storageName ("OWNER.NAME"); null
  // when it has none. Call under the database lock.
  std::shared_ptr<const TableTriggers> Find(ServerDatabase& database,
                                            const std::string& storageName);
  // False when the database holds no trigger at all: DML needs no lookup.
  bool AnyTriggers(ServerDatabase& database);

 private:
  void Refresh(ServerDatabase& database);

  unsigned long long generation_ = 0;
  std::unordered_set<std::string> tables_;  // storage names of tables with triggers
  std::map<std::string, std::shared_ptr<const TableTriggers>> loaded_;
};

}  // namespace sandbox
