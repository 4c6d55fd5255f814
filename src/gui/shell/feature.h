#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "reports/report_document.h"

class QAction;
class QMenu;
class QWidget;

namespace ampelsim::ui {

// The menus of the main window that features add their entries to.
enum class MainMenu { Drucken, Bearbeiten, Signalplan, Verkehr };

// Writes one report into a document, as the entries of "Einzelausdruck" do.
using ReportWriter =
    std::function<ReportStatus(ReportDocument& report, const ReportContext& context)>;

// What the main window offers a feature: its menus, itself as the parent of
// dialogs, and the one print preview.
class FeatureHost {
 public:
  virtual QMenu& Menu(MainMenu menu) = 0;
  virtual QWidget& MainWindow() = 0;
  // Puts the report into the print preview under that print name, when a
  // single report may be printed now (else nothing happens).
  virtual void PrintReport(const ReportWriter& writer, const QString& printName) = 0;
  // Whether PrintReport would print now.
  virtual bool CanPrintReport() const = 0;

 protected:
  ~FeatureHost() = default;
};

// A part of the desktop program that plugs itself into the main window: it
// adds its menu entries, owns its windows, and follows the program through
// the hooks below. The main window never names a feature.
class Feature {
 public:
  virtual ~Feature() = default;

  virtual void Install(FeatureHost& host) = 0;
  // After every tick of the simulation, once the heads and the panel are drawn.
  virtual void AfterTick() {}
  // The panel's enable flags may have changed (a print preview opened, ...).
  virtual void CommandsChanged() {}
  // "Daten laden" has loaded a data set.
  virtual void DataSetLoaded() {}
  // Before the program ends or "Daten laden" loads another data set: false
  // when the user keeps things as they are (unsaved changes, "Abbrechen").
  virtual bool MayChangeDataSet() { return true; }
  // Its long-lived windows, placed and remembered as the main window is.
  virtual std::vector<QWidget*> Windows() { return {}; }
};

// A menu entry with its component name, for tests and key handling.
QAction* AddMenuAction(QMenu& menu, const char* name, const QString& caption);

// Shows a window in front and gives it the focus.
void ShowOnTop(QWidget& window);

}  // namespace ampelsim::ui
