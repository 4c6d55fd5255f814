#pragma once

#include <functional>

#include <QString>
#include <QWidget>
#include <string_view>

#include "gui/reports/pdf_output.h"
#include "reports/report_document.h"

class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace ampelsim {
class Simulation;
}

namespace ampelsim::ui {

class CommonKeys;
class SaveLocation;

// "Drucker Vorschau": the one print preview. It holds the report that the
// print commands build, shows it in a fixed-pitch font, takes the continuous
// lines of the actual plan and of the faults below it, and prints what it
// shows. While it exists the simulation knows it and sends it those lines;
// closing it hands the print controls back to the panel and destroys it.
class TFormDrucker final : public QWidget {
  Q_OBJECT

 public:
  using ReportWriter =
      std::function<ReportStatus(ReportDocument& report, const ReportContext& context)>;

  // The window is created hidden; it prints on `printer`, which must outlive it.
  TFormDrucker(Simulation& simulation, CommonKeys& keys, QPrinter& printer,
               QWidget* parent = nullptr);
  ~TFormDrucker() override;

  // Runs a report writer into this window's report and shows the result.
  // Empty tables: the no-data message, after which the window is closed.
  ReportStatus RunReport(ReportWriter writer);
  // The head of the actual phase plan; the recording files start with it.
  void StartActualPhasePlan();

  // Replaces what EditDrucken shows with the whole report.
  void ShowReportText();
  // "Keine Daten", then the window closes.
  void ShowNoDataMessage();
  // Brings the last line into view and leaves the focus on "Drucken".
  void ScrollPreviewToEnd();
  // A continuous line (Windows-1252) as a new last paragraph below the
  // report; it is not part of the report text.
  void AddContinuousLine(std::string_view line);

  // The name of what is shown, for the file a PDF printout proposes.
  void SetPrintName(const QString& name) { printName_ = name; }
  // Where a PDF printout is proposed (null: the printer's last folder).
  void SetSaveLocation(SaveLocation* location) { saveLocation_ = location; }
  // How "Drucken" asks for the file on the PDF printer (a file dialog).
  void SetPdfFileQuestion(PdfFileQuestion question) { askPdfFile_ = std::move(question); }
  const ReportDocument& Report() const { return report_; }
  // What EditDrucken shows, and what "Drucken" prints.
  QString PreviewText() const;
  int FocusEnterCount() const { return focusEnterCount_; }

 public slots:
  void DruckStartClick();
  void DruckNichtClick();

 signals:
  // FormClose has run: the print controls are enabled again.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate(CommonKeys& keys);
  void FormShow();
  void FormClose();
  void EditDruckenEnter();
  void DetachFromSimulation();

  Simulation& simulation_;
  QPrinter& printer_;
  ReportDocument report_;
  QPlainTextEdit* editDrucken_ = nullptr;
  QPushButton* druckStart_ = nullptr;
  QPushButton* druckNicht_ = nullptr;
  QString printName_;
  PdfFileQuestion askPdfFile_ = AskPdfFile;
  SaveLocation* saveLocation_ = nullptr;
  int focusEnterCount_ = 0;
  bool attached_ = false;
};

}  // namespace ampelsim::ui
