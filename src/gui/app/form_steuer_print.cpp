#include <QToolButton>

#include "app/report_catalogue.h"
#include "app/simulation.h"
#include "gui/app/form_steuer.h"
#include "gui/reports/form_drucker.h"
#include "gui/widgets/common_keys.h"
#include "reports/fault_protocol.h"

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

bool TFormSteuer::SingleReportsEnabled() const {
  const ControlPanel& panel = simulation_->Panel();
  return panel.IsEnabled(PanelCommand::DruckenMenu) && panel.IsEnabled(PanelCommand::EinzelDruck);
}

void TFormSteuer::PrintSingleReport(const ReportWriter& writer, const QString& printName) {
  if (!SingleReportsEnabled()) {
    return;
  }
  OpenPrintPreview();
  preview_->SetPrintName(printName);
  preview_->RunReport(writer);
  ShowPanel();
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
