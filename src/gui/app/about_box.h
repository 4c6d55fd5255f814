#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ampelsim::ui {

class CommonKeys;

inline constexpr char VersionText[] = "Version: 2.10";
inline constexpr char VersionDateText[] = " / 23.2.2010";

// "ampelsim 0.1.0": the program and the version it was built as.
QString ProgramNameAndVersion();

// The info box "Info": product, the modes it simulates and its version.
class TAboutBox final : public QDialog {
  Q_OBJECT

 public:
  TAboutBox(CommonKeys& keys, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* version_;
  QPushButton* okButton_;
};

}  // namespace ampelsim::ui
