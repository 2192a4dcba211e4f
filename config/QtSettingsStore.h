// QtSettingsStore: the settings store kept with QSettings, organization
// "Velmora", application "Quillmark for Oracle" (the registry on Windows, an
// INI file under the user's configuration directory on Linux), or in an INI
// file of a given directory for tests and for "--settings DIR". Sections are
// QSettings groups. Integers out of the int range read as its nearest end.
#pragma once

#include <memory>
#include <string>

#include "config/SettingsStore.h"

class QSettings;

class QtSettingsStore : public SettingsStore {
 public:
  // The user's own settings.
  QtSettingsStore();
  // The INI file "Quillmark for Oracle.ini" in directory (created when missing).
  explicit QtSettingsStore(const std::string& directory);
  ~QtSettingsStore() override;

  int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue) override;
  void SetInt(const std::string& section, const std::string& key, int value) override;
  void SetString(const std::string& section, const std::string& key,
                 const std::string& value) override;
  void Remove(const std::string& section, const std::string& key) override;
  bool Contains(const std::string& section, const std::string& key) override;

  // Writes pending changes to permanent storage.
  void Sync();
  // Where the settings are kept (file path or registry path).
  std::string Location() const;
  // Why the settings file could not be used as it was (a directory, not
  // readable, not a settings file), for the user to be told once; empty
  // when it could.
  const std::string& Problem() const { return problem_; }

 private:
  // Checks the file before QSettings reads it; a file that is not a settings
  // file is moved aside rather than overwritten. A missing file is created
  // readable by its owner alone, since it may come to hold passwords.
  void PrepareFile(const std::string& path);

  std::unique_ptr<QSettings> settings_;
  std::string problem_;
};
