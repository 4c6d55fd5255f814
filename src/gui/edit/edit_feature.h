#pragma once

#include <QString>
#include <filesystem>
#include <functional>

#include "gui/edit/form_bearbeiten.h"
#include "gui/edit/test_run.h"
#include "gui/shell/feature.h"

class QAction;

namespace ampelsim::ui {

// The menu "Bearbeiten": the editor on the data directory that is set, saving
// it, undo and redo with the step's name; unsaved changes are asked about
// before the program ends or loads another data set.
class EditFeature final : public Feature {
 public:
  // The data directory is the one "Daten laden" sets; read at each use.
  explicit EditFeature(const QString& dataDirectory);

  void Install(FeatureHost& host) override;
  bool MayChangeDataSet() override;
  std::vector<QWidget*> Windows() override { return {&Editor}; }

  // "Datensatz bearbeiten": the editor on the data directory; a directory
  // that cannot be opened is reported in a box.
  void EditDataSet();
  // "Neuer Knotenpunkt ...": the dialog; the data set it wrote is opened.
  void NewJunction();
  // "Zwischenzeiten berechnen ...": the dialog on the edited data set; what
  // it calculated becomes one step.
  void CalculateIntergreens();
  // "Festzeitoptimierung ...": the dialog on the edited data set; the program
  // it calculated becomes one step.
  void OptimiseFixedTime();

  // "Testlauf": the edited data set as it stands in the simulator.
  void RunTest();

  TFormBearbeiten Editor;
  TFormTestlauf TestRun;
  // How the simulator loads a data set; the composition root sets it.
  DataSetRunner RunDataSet;
  // The traffic file in use or, without one, the folder where traffic files
  // lie; the composition root sets it.
  std::function<QString()> TrafficLocation;

 private:
  // Enables the entries and names the undo and redo steps.
  void ShowCommands();
  void OpenWritten(const std::filesystem::path& directory);

  const QString& dataDirectory_;
  FeatureHost* host_ = nullptr;
  QAction* save_ = nullptr;
  QAction* saveAs_ = nullptr;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QAction* calculate_ = nullptr;
  QAction* optimise_ = nullptr;
  QAction* testRun_ = nullptr;
};

}  // namespace ampelsim::ui
