#include "platform/QtSettingsStore.h"

#include <QStringList>

namespace platform {

std::unique_ptr<QSettings> QtSettingsStore::open(const std::string &key) {
  const QStringList parts =
      QString::fromStdString(key).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  if (parts.size() < 2) return nullptr;
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     parts.at(parts.size() - 2), parts.last());
}

QString QtSettingsStore::Location(const std::string &key) {
  const auto settings = open(key);
  return settings ? settings->fileName() : QString();
}

std::optional<std::string> QtSettingsStore::ReadString(const std::string &key,
                                                       const std::string &value) {
  const auto settings = open(key);
  // A damaged file would otherwise read as empty and look like a first start with a valid store.
  if (!settings || settings->status() != QSettings::NoError) return std::nullopt;
  const QVariant stored = settings->value(QString::fromStdString(value));
  if (stored.typeId() != QMetaType::QString) return std::nullopt;
  return stored.toString().toStdString();
}

bool QtSettingsStore::WriteString(const std::string &key, const std::string &value,
                                  const std::string &data) {
  const auto settings = open(key);
  if (!settings) return false;
  // A damaged file is replaced: its one value could not be read anyway.
  settings->setValue(QString::fromStdString(value), QString::fromStdString(data));
  settings->sync();
  // A format error belongs to the damaged contents read before; only a refused write fails.
  return settings->status() != QSettings::AccessError;
}

} // namespace platform
