#pragma once

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QStandardPaths>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "data/controller_data_set.h"
#include "test_support/test_files.h"

namespace ampelsim::test {

inline QString Q(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// Where the settings live under the temporary configuration folder.
inline QString SettingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Software/Quendal/Oskeda/V2.10.ini");
}

inline void RemoveSettings() {
  QFile::remove(SettingsFilePath());
}

// Two groups, program 1 of 20 s released: a data set that starts and runs
// without any fault.
inline std::unique_ptr<ControllerDataSet> SmallJunctionData() {
  auto data = std::make_unique<ControllerDataSet>();
  data->GeneralData.GroupCount = 2;
  data->GeneralData.ModeSimulatable = 1;
  data->GeneralData.ProgramReleased[0] = 1;
  // Flashing as the emergency program, named so the verifier finds no error.
  data->GeneralData.EmergencyProgram = FlashingProgram;
  SignalProgram& program = data->SignalPrograms[0];
  program.CycleTime = 20;
  program.GreenBegin1[0] = 2;
  program.GreenEnd1[0] = 8;
  program.GreenBegin1[1] = 11;
  program.GreenEnd1[1] = 17;
  for (std::size_t g = 0; g < MaxGroups; ++g) {
    data->HeadNumbers[g] = static_cast<std::int32_t>(1 + g);
  }
  return data;
}

inline void WriteGlyph(const std::filesystem::path& file, Qt::GlobalColor colour) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(colour);
  image.save(Q(file), "BMP");
}

// A fresh start directory as a first start sees it: no settings, a "Demo"
// folder holding the small junction, and the demand-button pictures.
class StartDirectory {
 public:
  StartDirectory() {
    RemoveSettings();
    std::filesystem::create_directory(Demo());
    WriteDataSet(Demo(), *SmallJunctionData());
    WriteGlyph(dir_ / "Pfeilrot.bmp", Qt::red);
    WriteGlyph(dir_ / "Pfeilleer.bmp", Qt::white);
  }
  ~StartDirectory() { RemoveSettings(); }
  StartDirectory(const StartDirectory&) = delete;
  StartDirectory& operator=(const StartDirectory&) = delete;

  std::filesystem::path Path() const { return dir_.Path(); }
  std::filesystem::path Demo() const { return dir_.Path() / "Demo"; }
  QString QPath() const { return Q(dir_.Path()); }
  QString QDemo() const { return Q(Demo()); }

 private:
  TempDir dir_;
};

// What a modal window showed before the test closed it.
struct ModalSeen {
  bool Seen = false;
  QString ClassName;
  QString Title;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Waits for the next modal window, notes what it shows, then lets `close`
// end it (by default: reject). Runs from the modal loop the window opens.
inline void HandleNextModal(ModalSeen* seen, std::function<void(QWidget*)> close = nullptr,
                            int attempts = 200) {
  QTimer::singleShot(10, [seen, close, attempts] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      if (attempts > 0) {
        HandleNextModal(seen, close, attempts - 1);
      }
      return;
    }
    seen->Seen = true;
    seen->ClassName = QString::fromLatin1(modal->metaObject()->className());
    seen->Title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      seen->Text = box->text();
      seen->Icon = box->icon();
    }
    if (close) {
      close(modal);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  });
}

}  // namespace ampelsim::test
