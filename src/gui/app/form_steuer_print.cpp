#include <QToolButton>

#include "app/report_catalogue.h"
#include "app/simulation.h"
#include "gui/app/form_steuer.h"
#include "gui/chart/form_soll_signalplan.h"
#include "reports/fault_protocol.h"
#include "gui/reports/form_drucker.h"
#include "gui/verify/form_pruefen.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {

TFormDrucker* TFormSteuer::Preview() const {
  return preview_.data();
}

void TFormSteuer::OpenPrintPreview() {
  if (preview_) {
    if (preview_->isMinimized()) {
      preview_->showNormal();
    } else {
      preview_->show();
    }
    preview_->raise();
    preview_->activateWindow();
  } else {
    preview_ = new TFormDrucker(*simulation_, *keys_, Printer(), this);
    preview_->setWindowIconText(windowIconText());
    connect(preview_, &TFormDrucker::Closed, this, &TFormSteuer::PreviewClosed);
    preview_->show();
  }
  // No second report while one is shown; a running continuous printout can
  // still be switched off.
  ControlPanel& panel = simulation_->Panel();
  panel.SetEnabled(PanelCommand::EinzelDruck, false);
  panel.SetEnabled(PanelCommand::DruckSoll, false);
  panel.SetEnabled(PanelCommand::DruckSt, false);
  for (const PanelToggle toggle : {PanelToggle::DruckIst, PanelToggle::DruckStEinAus}) {
    if (!panel.IsDown(toggle)) {
      panel.SetEnabled(toggle, false);
    }
  }
  ShowPanel();
}

// FormClose of the preview has enabled the print controls again.
void TFormSteuer::PreviewClosed() {
  preview_ = nullptr;
  ShowPanel();
}

void TFormSteuer::PrintSingleReport(ReportWriter writer, const QString& printName) {
  const ControlPanel& panel = simulation_->Panel();
  if (!panel.IsEnabled(PanelCommand::DruckenMenu) || !panel.IsEnabled(PanelCommand::EinzelDruck)) {
    return;
  }
  OpenPrintPreview();
  preview_->SetPrintName(printName);
  preview_->RunReport(writer);
  ShowPanel();
}

void TFormSteuer::PruefenClick() {
  if (pruefen_) {
    pruefen_->Refresh();
  } else {
    pruefen_ = new TFormPruefen(simulation_->Data(), *keys_, this);
    connect(pruefen_, &TFormPruefen::PrintRequested, this, [this] {
      PrintSingleReport(FindReport("pruefprotokoll")->Print, QStringLiteral("Prüfprotokoll"));
    });
    // A finding opens the planned chart of its program.
    connect(pruefen_, &TFormPruefen::FindingActivated, this, [this](int program, int /*second*/) {
      if (windows_.SollSignalplan != nullptr && program >= 1 && program <= ProgramCount) {
        windows_.SollSignalplan->ShowChart(0, program);
        windows_.SollSignalplan->show();
        windows_.SollSignalplan->raise();
        windows_.SollSignalplan->activateWindow();
      }
    });
  }
  pruefen_->show();
  pruefen_->raise();
  pruefen_->activateWindow();
}

void TFormSteuer::DruckSollClick() {
  if (!simulation_->Panel().IsEnabled(PanelCommand::DruckSoll)) {
    return;
  }
  OpenPrintPreview();
  preview_->SetPrintName(QStringLiteral("Sollausdruck"));
  preview_->RunReport(FindReport("soll")->Print);
  ShowPanel();
}

void TFormSteuer::DruckStClick() {
  if (!simulation_->Panel().IsEnabled(PanelCommand::DruckSt)) {
    return;
  }
  OpenPrintPreview();
  preview_->SetPrintName(QStringLiteral("Störausdruck"));
  preview_->RunReport(&PrintFaultProtocol);
  ShowPanel();
}

void TFormSteuer::DruckIstClick() {
  ControlPanel& panel = simulation_->Panel();
  const bool wasDown = panel.IsDown(PanelToggle::DruckIst);
  // The model presses or releases it and restarts the recording count.
  panel.Click(PanelToggle::DruckIst);
  if (panel.IsDown(PanelToggle::DruckIst) == wasDown) {
    ShowToggle(PanelToggle::DruckIst);  // disabled: the click changed nothing
    return;
  }
  if (!wasDown) {
    OpenPrintPreview();
    preview_->SetPrintName(QStringLiteral("Istausdruck"));
    preview_->StartActualPhasePlan();
    preview_->ScrollPreviewToEnd();
    // No data set can be loaded while the actual plan is printed; both menus
    // stay disabled until the preview closes.
    panel.SetEnabled(PanelCommand::DateiMenu, false);
    panel.SetEnabled(PanelCommand::DruckenMenu, false);
    simulation_->ClearDetectorMarks();
  } else if (preview_) {
    panel.SetEnabled(PanelToggle::DruckIst, false);
    panel.SetEnabled(PanelToggle::DruckStEinAus, false);
  }
  ShowToggle(PanelToggle::DruckIst);
  ShowPanel();
}

void TFormSteuer::DruckStEinAusClick() {
  ControlPanel& panel = simulation_->Panel();
  const bool wasDown = panel.IsDown(PanelToggle::DruckStEinAus);
  panel.Click(PanelToggle::DruckStEinAus);
  if (panel.IsDown(PanelToggle::DruckStEinAus) == wasDown) {
    ShowToggle(PanelToggle::DruckStEinAus);  // disabled: the click changed nothing
    return;
  }
  if (!wasDown) {
    OpenPrintPreview();
    preview_->SetPrintName(QStringLiteral("Störausdruck"));
    // With an empty store the preview waits, empty, for the first fault line.
    if (!simulation_->Faults().Records()[0].IsEmpty()) {
      if (preview_->RunReport(&PrintFaultProtocol) == ReportStatus::Printed) {
        preview_->ScrollPreviewToEnd();
      }
    }
  } else if (preview_) {
    panel.SetEnabled(PanelToggle::DruckIst, false);
    panel.SetEnabled(PanelToggle::DruckStEinAus, false);
  }
  ShowToggle(PanelToggle::DruckStEinAus);
  ShowPanel();
}

}  // namespace ampelsim::ui
