// In-memory settings store for tests and isolated runs.
#include "config/MemorySettingsStore.h"

int MemorySettingsStore::GetInt(const std::string& section, const std::string& key,
                                int defaultValue) {
  auto it = values_.find({section, key});
  if (it == values_.end()) {
    return defaultValue;
  }
  if (const int* value = std::get_if<int>(&it->second)) {
    return *value;
  }
  // A string read as an integer gives its leading number, as the store on disk does.
  try {
    return std::stoi(std::get<std::string>(it->second));
  } catch (const std::exception&) {
    return defaultValue;
  }
}

std::string MemorySettingsStore::GetString(const std::string& section, const std::string& key,
                                           const std::string& defaultValue) {
  auto it = values_.find({section, key});
  if (it == values_.end()) {
    return defaultValue;
  }
  if (const int* value = std::get_if<int>(&it->second)) {
    return std::to_string(*value);
  }
  return std::get<std::string>(it->second);
}

void MemorySettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
  values_[{section, key}] = value;
  writeLog_.emplace_back(section, key);
}

void MemorySettingsStore::SetString(const std::string& section, const std::string& key,
                                    const std::string& value) {
  values_[{section, key}] = value;
  writeLog_.emplace_back(section, key);
}

void MemorySettingsStore::Remove(const std::string& section, const std::string& key) {
  values_.erase({section, key});
}

bool MemorySettingsStore::Contains(const std::string& section, const std::string& key) {
  return values_.count({section, key}) != 0;
}
