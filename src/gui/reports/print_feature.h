#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "gui/reports/form_drucker.h"
#include "gui/shell/feature.h"

class QMenu;
class QPrinter;
class QWidget;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;
class SaveLocation;

// Printing: the menu "Drucken" (the single reports of "Einzelausdruck" and
// "Drucker Einrichten"), the printer chosen there, and the one print preview
// that every printout goes into: the panel's four print buttons, the single
// reports and what other features print. While the preview is open no second
// report may start; closing it hands the print controls back to the panel.
class PrintFeature final : public QObject, public Feature {
  Q_OBJECT

 public:
  // The preview is a window of `owner` (the main window).
  PrintFeature(Simulation& simulation, CommonKeys& keys, QWidget& owner);
  // A preview still open goes first: it works on the simulation.
  ~PrintFeature() override;

  void Install(FeatureHost& host) override;
  void CommandsChanged() override;

  // Where PDF printouts are proposed; the program's one rule for files.
  void SetSaveLocation(SaveLocation& location) { saveLocation_ = &location; }

  // The printer chosen with "Drucker Einrichten", for every later printout.
  QPrinter& Printer();
  // The print preview while it exists, else null.
  TFormDrucker* Preview() const { return preview_.data(); }

  // Shows the preview (created on first use) and disables the print controls
  // that may not start while it is open.
  void OpenPreview();
  // Whether a single report may be printed now.
  bool CanPrintSingleReport() const;
  // Puts the report into the preview under that print name, when allowed.
  void PrintSingleReport(const ReportWriter& writer, const QString& printName);

  // The panel's print buttons.
  void PrintPlanned();         // "Soll": the planned signal plan
  void PrintFaults();          // "St.": the fault protocol, page by page
  void ToggleActualPlan();     // "Ist": the actual plan, line by line, on and off
  void ToggleFaultPrinting();  // "St.S": each fault as it is stored, on and off
  // "Drucker Einrichten": printer, paper and page for all later printouts.
  void SetUpPrinter();

 signals:
  // The panel's enable flags or toggles changed; the main window redraws them.
  void PanelChanged();

 private:
  void PreviewClosed();

  Simulation& simulation_;
  CommonKeys& keys_;
  QWidget& owner_;
  std::unique_ptr<QPrinter> printer_;
  QPointer<TFormDrucker> preview_;
  QMenu* einzelDruck_ = nullptr;
  SaveLocation* saveLocation_ = nullptr;
};

}  // namespace ampelsim::ui
