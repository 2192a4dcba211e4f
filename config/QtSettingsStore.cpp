// The settings store on QSettings.
#include "config/QtSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>

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

// The store may hold saved passwords (the recent-connections list): its file
// is readable by its owner only. Created so before anything is written, it
// keeps that mode, since QSettings rewrites a file with its old permissions.
void KeepOwnerOnly(const QSettings& settings) {
  if (settings.format() != QSettings::IniFormat && settings.format() != QSettings::NativeFormat) {
    return;
  }
  const QString path = settings.fileName();
  if (!QDir::isAbsolutePath(path)) {
    return;  // a registry path, guarded by the system
  }
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (!file.exists() && !file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
    return;
  }
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QString::fromLatin1(OrganizationName),
                                            QString::fromLatin1(ApplicationName))) {
  KeepOwnerOnly(*settings_);
}

QtSettingsStore::QtSettingsStore(const std::string& directory) {
  QDir().mkpath(Qs(directory));
  const QString path =
      QDir(Qs(directory)).filePath(QString::fromLatin1(ApplicationName) + QStringLiteral(".ini"));
  settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
  KeepOwnerOnly(*settings_);
}

QtSettingsStore::~QtSettingsStore() = default;

int QtSettingsStore::GetInt(const std::string& section, const std::string& key, int defaultValue) {
  bool ok = false;
  const int value = settings_->value(KeyPath(section, key)).toInt(&ok);
  return ok ? value : defaultValue;
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
  KeepOwnerOnly(*settings_);
}

std::string QtSettingsStore::Location() const {
  return settings_->fileName().toStdString();
}
