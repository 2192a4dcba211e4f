// Trigger definitions read from the dictionary.
#include "sandbox/server/triggers/TableTriggers.h"

#include <algorithm>
#include <sstream>

#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/triggers/RowReferences.h"

namespace sandbox {

namespace {

std::vector<std::string> Words(const std::string& text, char separator) {
  std::vector<std::string> words;
  std::istringstream in(text);
  std::string word;
  while (std::getline(in, word, separator))
    if (!word.empty())
      words.push_back(word);
  return words;
}

TableTrigger ReadTrigger(const std::vector<std::string>& row) {
  // row: owner, name, type, event, columns, referencing, when, status, body,
  // object status
  TableTrigger trigger;
  trigger.owner = row[0];
  trigger.name = row[1];
  trigger.qualifiedName = row[0] + "." + row[1];
  const std::string& type = row[2];
  trigger.timing = type.rfind("BEFORE", 0) == 0  ? TableTrigger::Timing::Before
                   : type.rfind("AFTER", 0) == 0 ? TableTrigger::Timing::After
                                                 : TableTrigger::Timing::InsteadOf;
  trigger.compound = type == "COMPOUND";
  trigger.eachRow = type.find("EACH ROW") != std::string::npos ||
                    trigger.timing == TableTrigger::Timing::InsteadOf || trigger.compound;
  for (const std::string& word : Words(row[3], ' ')) {
    if (word == "INSERT")
      trigger.events.insert(DmlEvent::Insert);
    else if (word == "UPDATE")
      trigger.events.insert(DmlEvent::Update);
    else if (word == "DELETE")
      trigger.events.insert(DmlEvent::Delete);
  }
  trigger.updateColumns = Words(row[4], ',');
  std::string newName, oldName;
  ReferencingNames(row[5], newName, oldName);
  if (!row[6].empty())
    trigger.when = RowReferencesAsBinds(row[6], newName, oldName, false);
  trigger.body = RowReferencesAsBinds(row[8], newName, oldName, true);
  trigger.enabled = row[7] == "ENABLED";
  trigger.valid = row[9] != "INVALID";
  return trigger;
}

}  // namespace

bool TableTrigger::FiresFor(DmlEvent event, const std::vector<std::string>& setColumns) const {
  if (events.count(event) == 0)
    return false;
  if (event != DmlEvent::Update || updateColumns.empty())
    return true;
  return std::any_of(updateColumns.begin(), updateColumns.end(), [&](const std::string& column) {
    return std::find(setColumns.begin(), setColumns.end(), column) != setColumns.end();
  });
}

void TriggerCache::Refresh(ServerDatabase& database) {
  const unsigned long long generation = database.SchemaGeneration();
  if (generation == generation_)
    return;
  generation_ = generation;
  tables_.clear();
  loaded_.clear();
  SqliteRunner runner(database.Handle());
  std::vector<std::vector<std::string>> rows;
  runner.Query("SELECT DISTINCT TABLE_OWNER, TABLE_NAME FROM \"SYS.ALL_TRIGGERS\"", {}, rows);
  for (const auto& row : rows)
    tables_.insert(row[0] + "." + row[1]);
}

bool TriggerCache::AnyTriggers(ServerDatabase& database) {
  Refresh(database);
  return !tables_.empty();
}

std::shared_ptr<const TableTriggers> TriggerCache::Find(ServerDatabase& database,
                                                        const std::string& storageName) {
  Refresh(database);
  if (tables_.count(storageName) == 0)
    return nullptr;
  if (const auto found = loaded_.find(storageName); found != loaded_.end())
    return found->second;
  auto triggers = std::make_shared<TableTriggers>();
  const std::size_t dot = storageName.find('.');
  triggers->owner = storageName.substr(0, dot);
  triggers->table = storageName.substr(dot + 1);
  const std::vector<Value> key{Value::Text(triggers->owner), Value::Text(triggers->table)};
  SqliteRunner runner(database.Handle());
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "SELECT t.OWNER, t.TRIGGER_NAME, t.TRIGGER_TYPE, t.TRIGGERING_EVENT, t.COLUMN_NAME, "
      "t.REFERENCING_NAMES, t.WHEN_CLAUSE, t.STATUS, t.TRIGGER_BODY, o.STATUS, "
      "t.BASE_OBJECT_TYPE "
      "FROM \"SYS.ALL_TRIGGERS\" t JOIN \"SYS.ALL_OBJECTS\" o ON o.OWNER = t.OWNER AND "
      "o.OBJECT_NAME = t.TRIGGER_NAME AND o.OBJECT_TYPE = 'TRIGGER' "
      "WHERE t.TABLE_OWNER = ? AND t.TABLE_NAME = ? ORDER BY o.OBJECT_ID",
      key, rows);
  for (const auto& row : rows) {
    triggers->triggers.push_back(ReadTrigger(row));
    triggers->isView = row[10] == "VIEW";
  }
  rows.clear();
  runner.Query(
      "SELECT COLUMN_NAME, HIDDEN_COLUMN, VIRTUAL_COLUMN, IDENTITY_COLUMN, DATA_DEFAULT FROM "
      "\"SYS.ALL_TAB_COLS\" WHERE OWNER = ? "
      "AND TABLE_NAME = ? ORDER BY INTERNAL_COLUMN_ID",
      key, rows);
  for (const auto& row : rows) {
    // Hidden columns (of function-based indexes) are no part of the row.
    if (row[1] == "YES")
      continue;
    const bool isVirtual = row[2] == "YES";
    triggers->columns.push_back(row[0]);
    triggers->writable.push_back(!isVirtual);
    if (!isVirtual)
      triggers->visible.push_back(row[0]);
    // An identity column's value comes from its storage when the row is
    // stored, not from a default the firing evaluates.
    triggers->defaults.push_back(row[3] == "YES" || isVirtual ? std::string() : row[4]);
  }
  return loaded_[storageName] = std::move(triggers);
}

}  // namespace sandbox
