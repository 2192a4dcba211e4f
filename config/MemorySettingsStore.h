// MemorySettingsStore: a settings store that keeps its values in memory, for
// tests and for runs that must not touch the user's settings. It also records
// the order in which keys were written, so that a test can check it.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "config/SettingsStore.h"

class MemorySettingsStore : public SettingsStore {
 public:
  int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue) override;
  void SetInt(const std::string& section, const std::string& key, int value) override;
  void SetString(const std::string& section, const std::string& key,
                 const std::string& value) override;
  void Remove(const std::string& section, const std::string& key) override;
  bool Contains(const std::string& section, const std::string& key) override;

  // Section and key of every write, oldest first.
  const std::vector<std::pair<std::string, std::string>>& WriteLog() const { return writeLog_; }
  void ClearWriteLog() { writeLog_.clear(); }
  // Number of values held.
  std::size_t Size() const { return values_.size(); }

 private:
  using Value = std::variant<int, std::string>;
  std::map<std::pair<std::string, std::string>, Value> values_;
  std::vector<std::pair<std::string, std::string>> writeLog_;
};
