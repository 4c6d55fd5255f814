#include "gui/reports/print_feature.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <string>

#include "app/report_catalogue.h"
#include "app/simulation.h"
#include "gui/reports/form_drucker.h"
#include "gui/reports/preview_printing.h"
#include "panel/control_panel.h"
#include "reports/fault_protocol.h"

namespace ampelsim::ui {

PrintFeature::PrintFeature(Simulation& simulation, CommonKeys& keys, QWidget& owner)
    : simulation_(simulation), keys_(keys), owner_(owner) {}

PrintFeature::~PrintFeature() {
  delete preview_.data();
}

void PrintFeature::Install(FeatureHost& host) {
  QMenu& drucken = host.Menu(MainMenu::Drucken);
  einzelDruck_ = drucken.addMenu(QStringLiteral("Einzelausdruck"));
  einzelDruck_->setObjectName(QStringLiteral("EinzelDruck"));
  einzelDruck_->menuAction()->setObjectName(QStringLiteral("EinzelDruck"));
  for (const ReportEntry* entry : ReportsInMenu()) {
    const std::string name(entry->MenuName);
    const QString caption = QString::fromUtf8(entry->MenuCaption.data(),
                                              static_cast<qsizetype>(entry->MenuCaption.size()));
    connect(AddMenuAction(*einzelDruck_, name.c_str(), caption), &QAction::triggered, this,
            [this, print = entry->Print, caption] { PrintSingleReport(print, caption); });
  }
  drucken.addSeparator();
  connect(AddMenuAction(drucken, "DruckerEinrichten", QStringLiteral("Drucker Einrichten")),
          &QAction::triggered, this, &PrintFeature::SetUpPrinter);
}

void PrintFeature::CommandsChanged() {
  einzelDruck_->menuAction()->setEnabled(simulation_.Panel().IsEnabled(PanelCommand::EinzelDruck));
}

QPrinter& PrintFeature::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setDocName(QString::fromLatin1(PrintDocumentTitle));
    // Without any printer the default is the PDF printer; every printout on
    // it asks for its file.
  }
  return *printer_;
}

void PrintFeature::OpenPreview() {
  if (preview_) {
    if (preview_->isMinimized()) {
      preview_->showNormal();
    } else {
      preview_->show();
    }
    preview_->raise();
    preview_->activateWindow();
  } else {
    preview_ = new TFormDrucker(simulation_, keys_, Printer(), &owner_);
    preview_->setWindowIconText(owner_.windowIconText());
    preview_->SetSaveLocation(saveLocation_);
    connect(preview_, &TFormDrucker::Closed, this, &PrintFeature::PreviewClosed);
    preview_->show();
  }
  // No second report while one is shown; a running continuous printout can
  // still be switched off.
  ControlPanel& panel = simulation_.Panel();
  panel.SetEnabled(PanelCommand::EinzelDruck, false);
  panel.SetEnabled(PanelCommand::DruckSoll, false);
  panel.SetEnabled(PanelCommand::DruckSt, false);
  for (const PanelToggle toggle : {PanelToggle::DruckIst, PanelToggle::DruckStEinAus}) {
    if (!panel.IsDown(toggle)) {
      panel.SetEnabled(toggle, false);
    }
  }
  emit PanelChanged();
}

// FormClose of the preview has enabled the print controls again.
void PrintFeature::PreviewClosed() {
  preview_ = nullptr;
  emit PanelChanged();
}

bool PrintFeature::CanPrintSingleReport() const {
  const ControlPanel& panel = simulation_.Panel();
  return panel.IsEnabled(PanelCommand::DruckenMenu) && panel.IsEnabled(PanelCommand::EinzelDruck);
}

void PrintFeature::PrintSingleReport(const ReportWriter& writer, const QString& printName) {
  if (!CanPrintSingleReport()) {
    return;
  }
  OpenPreview();
  preview_->SetPrintName(printName);
  preview_->RunReport(writer);
  emit PanelChanged();
}

void PrintFeature::PrintPlanned() {
  if (!simulation_.Panel().IsEnabled(PanelCommand::DruckSoll)) {
    return;
  }
  OpenPreview();
  preview_->SetPrintName(QStringLiteral("Sollausdruck"));
  preview_->RunReport(FindReport("soll")->Print);
  emit PanelChanged();
}

void PrintFeature::PrintFaults() {
  if (!simulation_.Panel().IsEnabled(PanelCommand::DruckSt)) {
    return;
  }
  OpenPreview();
  preview_->SetPrintName(QStringLiteral("Störausdruck"));
  preview_->RunReport(&PrintFaultProtocol);
  emit PanelChanged();
}

void PrintFeature::ToggleActualPlan() {
  ControlPanel& panel = simulation_.Panel();
  const bool wasDown = panel.IsDown(PanelToggle::DruckIst);
  // The model presses or releases it and restarts the recording count.
  panel.Click(PanelToggle::DruckIst);
  if (panel.IsDown(PanelToggle::DruckIst) == wasDown) {
    emit PanelChanged();  // disabled: the click changed nothing, the button shows it again
    return;
  }
  if (!wasDown) {
    OpenPreview();
    preview_->SetPrintName(QStringLiteral("Istausdruck"));
    preview_->StartActualPhasePlan();
    preview_->ScrollPreviewToEnd();
    // No data set can be loaded while the actual plan is printed; both menus
    // stay disabled until the preview closes.
    panel.SetEnabled(PanelCommand::DateiMenu, false);
    panel.SetEnabled(PanelCommand::DruckenMenu, false);
    simulation_.ClearDetectorMarks();
  } else if (preview_) {
    panel.SetEnabled(PanelToggle::DruckIst, false);
    panel.SetEnabled(PanelToggle::DruckStEinAus, false);
  }
  emit PanelChanged();
}

void PrintFeature::ToggleFaultPrinting() {
  ControlPanel& panel = simulation_.Panel();
  const bool wasDown = panel.IsDown(PanelToggle::DruckStEinAus);
  panel.Click(PanelToggle::DruckStEinAus);
  if (panel.IsDown(PanelToggle::DruckStEinAus) == wasDown) {
    emit PanelChanged();  // disabled: the click changed nothing, the button shows it again
    return;
  }
  if (!wasDown) {
    OpenPreview();
    preview_->SetPrintName(QStringLiteral("Störausdruck"));
    // With an empty store the preview waits, empty, for the first fault line.
    if (!simulation_.Faults().Records()[0].IsEmpty()) {
      if (preview_->RunReport(&PrintFaultProtocol) == ReportStatus::Printed) {
        preview_->ScrollPreviewToEnd();
      }
    }
  } else if (preview_) {
    panel.SetEnabled(PanelToggle::DruckIst, false);
    panel.SetEnabled(PanelToggle::DruckStEinAus, false);
  }
  emit PanelChanged();
}

void PrintFeature::SetUpPrinter() {
  QPrintDialog dialog(&Printer(), &owner_);
  dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
  dialog.setWindowTitle(QStringLiteral("Drucker einrichten"));
  // A set-up, not a print job: no page range, and the confirm button says
  // that it only takes the printer, paper and page over.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
    if (QPushButton* confirm = buttons->button(QDialogButtonBox::Ok)) {
      confirm->setText(QStringLiteral("OK"));
      confirm->setToolTip(
          QStringLiteral("Drucker und Seite für alle folgenden Ausdrucke übernehmen"));
    }
  }
  dialog.exec();
}

}  // namespace ampelsim::ui
