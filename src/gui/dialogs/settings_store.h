#pragma once

#include <QRect>
#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace ampelsim::ui {

// The persisted settings: an INI file under the user's configuration folder
// (XDG_CONFIG_HOME respected) whose path follows the key
// "Software\Quendal\Oskeda\V2.10"; section "SecStrings", value "Verzeichnis".
class SettingsStore {
 public:
  SettingsStore();
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Whether the settings file existed when this store was created.
  bool KeyExisted() const { return keyExisted_; }

  // The standard data path, empty when none is stored.
  QString StandardDataPath() const;
  void SetStandardDataPath(const QString& path);

  // Who signs the printed signal timing sheets (section "Plankopf").
  QString SheetAuthor() const;
  QString SheetCompany() const;
  void SetSheetAuthors(const QString& author, const QString& company);

  // The folder the program last wrote a file to (section "Dateien"); empty
  // when none.
  QString LastSaveFolder() const;
  void SetLastSaveFolder(const QString& folder);

  // Where a window was when the program last ended: the frame's top-left
  // corner and the inside's size, by the window's name (section "Fenster").
  std::optional<QRect> WindowGeometry(const QString& window) const;
  // Written to the file with the next Sync, at the latest with the store's end.
  void SetWindowGeometry(const QString& window, const QRect& geometry);
  void Sync();

  // The file that holds the settings.
  QString FileName() const;

 private:
  bool keyExisted_ = false;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace ampelsim::ui
