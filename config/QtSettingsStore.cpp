// The settings store on QSettings.
#include "config/QtSettingsStore.h"

#include <QDir>

#include <algorithm>
#include <filesystem>
#include <limits>

#include <QSettings>
#include <QString>
#include "config/SettingsFileCheck.h"

namespace {

constexpr const char* OrganizationName = "Velmora";
constexpr const char* ApplicationName = "Quillmark for Oracle";

QString Qs(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// QSettings keys are "group/key"; a "/" or "\" inside a key would open a group.
QString KeyPath(const std::string& section, const std::string& key) {
  QString name = Qs(key);
  name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
  return Qs(section) + QLatin1Char('/') + name;
}

}  // namespace

QtSettingsStore::QtSettingsStore() {
#ifndef _WIN32
  // On Windows the store is the registry; elsewhere an INI file.
  PrepareFile(QSettings(QSettings::NativeFormat, QSettings::UserScope,
                        QString::fromLatin1(OrganizationName), QString::fromLatin1(ApplicationName))
                  .fileName()
                  .toStdString());
#endif
  settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                          QString::fromLatin1(OrganizationName),
                                          QString::fromLatin1(ApplicationName));
}

QtSettingsStore::QtSettingsStore(const std::string& directory) {
  QDir().mkpath(Qs(directory));
  const QString path =
      QDir(Qs(directory)).filePath(QString::fromLatin1(ApplicationName) + QStringLiteral(".ini"));
  PrepareFile(path.toStdString());
  settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

void QtSettingsStore::PrepareFile(const std::string& path) {
  problem_ = SettingsFileProblem(path);
  // The store may hold saved passwords (the recent-connections list): its
  // file is readable by its owner only, also when an older version made it.
  std::error_code ignored;
  if (problem_.empty() && std::filesystem::is_regular_file(path, ignored)) {
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ignored);
  }
}

QtSettingsStore::~QtSettingsStore() = default;

int QtSettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) {
  bool ok = false;
  const qlonglong value = settings_->value(KeyPath(section, key)).toLongLong(&ok);
  return ok ? static_cast<int>(std::clamp<qlonglong>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()))
            : defaultValue;
}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
  const QVariant value = settings_->value(KeyPath(section, key));
  if (!value.isValid()) {
    return defaultValue;
  }
  return value.toString().toStdString();
}

void QtSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
  settings_->setValue(KeyPath(section, key), value);
}

void QtSettingsStore::SetString(const std::string& section, const std::string& key,
                                const std::string& value) {
  settings_->setValue(KeyPath(section, key), Qs(value));
}

void QtSettingsStore::Remove(const std::string& section, const std::string& key) {
  settings_->remove(KeyPath(section, key));
}

bool QtSettingsStore::Contains(const std::string& section, const std::string& key) {
  return settings_->contains(KeyPath(section, key));
}

void QtSettingsStore::Sync() {
  settings_->sync();
}

std::string QtSettingsStore::Location() const {
  return settings_->fileName().toStdString();
}
