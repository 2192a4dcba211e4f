// The per-user settings store: named integer and string values grouped in
// sections ("Settings", "Recent DB"). The core reads and writes settings only
// through this interface; QtSettingsStore keeps them with QSettings and
// MemorySettingsStore keeps them in memory for tests.
#pragma once

#include <string>

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) = 0;
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) = 0;
  virtual void SetInt(const std::string& section, const std::string& key, int value) = 0;
  virtual void SetString(const std::string& section, const std::string& key,
                         const std::string& value) = 0;
  // Removes one value; a missing key is not an error.
  virtual void Remove(const std::string& section, const std::string& key) = 0;
  virtual bool Contains(const std::string& section, const std::string& key) = 0;
};
