#include "gui/dialogs/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace ampelsim::ui {
namespace {

constexpr char KeyPath[] = "Software/Quendal/Oskeda/V2.10";
constexpr char Value[] = "SecStrings/Verzeichnis";

QString SettingsFilePath() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return QDir(base).filePath(QString::fromLatin1(KeyPath) + ".ini");
}

}  // namespace

SettingsStore::SettingsStore() {
  const QString path = SettingsFilePath();
  keyExisted_ = QFileInfo::exists(path);
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (!keyExisted_) {
    // The key is created with the store, even before a value is written.
    QFile(path).open(QIODevice::WriteOnly);
  }
  settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::StandardDataPath() const {
  return settings_->value(QString::fromLatin1(Value)).toString();
}

QString SettingsStore::LastSaveFolder() const {
  return settings_->value(QStringLiteral("Dateien/ZuletztGespeichert")).toString();
}

void SettingsStore::SetLastSaveFolder(const QString& folder) {
  settings_->setValue(QStringLiteral("Dateien/ZuletztGespeichert"), folder);
}

void SettingsStore::SetStandardDataPath(const QString& path) {
  settings_->setValue(QString::fromLatin1(Value), path);
  settings_->sync();
}

QString SettingsStore::SheetAuthor() const {
  return settings_->value(QStringLiteral("Plankopf/Bearbeiter")).toString();
}

QString SettingsStore::SheetCompany() const {
  return settings_->value(QStringLiteral("Plankopf/Firma")).toString();
}

void SettingsStore::SetSheetAuthors(const QString& author, const QString& company) {
  settings_->setValue(QStringLiteral("Plankopf/Bearbeiter"), author);
  settings_->setValue(QStringLiteral("Plankopf/Firma"), company);
  settings_->sync();
}

std::optional<QRect> SettingsStore::WindowGeometry(const QString& window) const {
  const QVariant value = settings_->value(QStringLiteral("Fenster/") + window);
  if (!value.canConvert<QRect>()) {
    return std::nullopt;
  }
  const QRect geometry = value.toRect();
  // A hand-edited file may hold anything: only a plausible window is taken.
  constexpr int Largest = 100000;
  if (geometry.width() <= 0 || geometry.height() <= 0 || geometry.width() > Largest ||
      geometry.height() > Largest || qAbs(geometry.x()) > Largest || qAbs(geometry.y()) > Largest) {
    return std::nullopt;
  }
  return geometry;
}

void SettingsStore::SetWindowGeometry(const QString& window, const QRect& geometry) {
  settings_->setValue(QStringLiteral("Fenster/") + window, geometry);
}

void SettingsStore::Sync() {
  settings_->sync();
}

QString SettingsStore::FileName() const {
  return settings_->fileName();
}

}  // namespace ampelsim::ui
