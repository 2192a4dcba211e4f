// The data phase test rig.
#include "tests/scripting/data/DataRig.h"

int NamedTableList::ReloadTableList() {
  list_.clear();
  for (const std::string& name : names) {
    CatalogItem item;
    item.Names[0] = name;
    list_.push_back(std::move(item));
  }
  return static_cast<int>(list_.size());
}

DataRig::DataRig(const std::string& database)
    : schema(database),
      output(model, settings, flags, host, *schema.client.settings),
      control(settings, flags, output, host),
      data(settings, flags, output, &host, control, *schema.client.session, tables,
           *schema.client.settings, unscripted) {
  settings.RunMode = ScriptingRunMode;
  settings.UpdateCommentPrefixes();
  flags.Running = 1;
}

int DataRig::Count(const std::string& text) const {
  int count = 0;
  const std::string report = Report();
  for (std::size_t at = report.find(text); at != std::string::npos;
       at = report.find(text, at + 1)) {
    ++count;
  }
  return count;
}

std::vector<std::string> DataRig::Inserts() const {
  std::vector<std::string> inserts;
  const std::string report = Report();
  for (std::size_t at = report.find("INSERT INTO "); at != std::string::npos;
       at = report.find("INSERT INTO ", at + 1)) {
    const std::size_t end = report.find(");\r\n", at);
    inserts.push_back(report.substr(at, end == std::string::npos ? end : end + 2 - at));
  }
  return inserts;
}

void DataRig::ScriptStatement(const std::string& statement) {
  settings.StatementText = statement;
  data.ScriptRows(statement, std::string(), std::string());
}
