#pragma once

#include <QString>

#include "gui/shell/feature.h"
#include "gui/traffic/form_auswertung.h"

class QAction;

namespace ampelsim::ui {

// The folder of the demo's traffic files beside the program.
inline constexpr char DemoTrafficDirectoryName[] = "Verkehr";

// Generated traffic: "Verkehrsdatei laden ...", "Verkehr erzeugen",
// "Auswertung" and "Auswertung drucken" in the menu "Verkehr", and the window
// "Auswertung".
class TrafficFeature final : public Feature {
 public:
  // The file dialog first opens in the demo's traffic files of the start
  // directory, where they exist.
  TrafficFeature(TrafficSession& session, Simulation& simulation, CommonKeys& keys,
                 const QString& startDirectory);

  void Install(FeatureHost& host) override;
  void CommandsChanged() override { ShowCommands(); }
  // Lets go of a traffic file the new data set does not fit, and says so.
  void DataSetLoaded() override;
  std::vector<QWidget*> Windows() override { return {&Auswertung}; }

  // "Verkehrsdatei laden ..." after the file dialog: loads the traffic file
  // or tells why not. Returns whether it was loaded.
  bool LoadTrafficFile(const QString& path);
  void VerkehrErzeugenClick(bool on);
  void AuswertungDruckenClick();

  TFormAuswertung Auswertung;

 private:
  void VerkehrLadenClick();
  void ShowCommands();

  TrafficSession& session_;
  QString startDirectory_;
  FeatureHost* host_ = nullptr;
  QAction* verkehrErzeugen_ = nullptr;
  QAction* auswertungDrucken_ = nullptr;
};

}  // namespace ampelsim::ui
