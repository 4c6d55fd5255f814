#include "gui/reports/form_drucker.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextCursor>
#include <string>

#include "app/simulation.h"
#include "data/windows1252.h"
#include "gui/reports/pdf_output.h"
#include "gui/reports/preview_font.h"
#include "gui/reports/preview_printing.h"
#include "gui/widgets/common_keys.h"
#include "gui/widgets/exception_box.h"
#include "gui/widgets/save_location.h"
#include "reports/fault_line.h"

namespace ampelsim::ui {
namespace {

constexpr Qt::WindowFlags FormFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                      Qt::WindowCloseButtonHint;

constexpr int FormLeft = 356;
constexpr int FormTop = 180;
constexpr int ClientWidth = 732;
constexpr int ClientHeight = 413;
constexpr int EditHeight = 377;
constexpr int ButtonTop = 384;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

QString FromWindows1252(std::string_view text) {
  return QString::fromStdString(Windows1252ToUtf8(text));
}

QPushButton* AddButton(QWidget* form, const char* name, const char* caption, int left) {
  auto* button = new QPushButton(QString::fromLatin1(caption), form);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(left, ButtonTop, ButtonWidth, ButtonHeight);
  // Return on a focused button presses it, as everywhere on the desktop.
  button->setAutoDefault(true);
  return button;
}

}  // namespace

TFormDrucker::TFormDrucker(Simulation& simulation, CommonKeys& keys, QPrinter& printer,
                           QWidget* parent)
    : QWidget(parent, FormFlags), simulation_(simulation), printer_(printer) {
  FormCreate(keys);
  simulation_.SetListener(Simulation::Listener{
      [this](const std::string& screenLine) {
        AddContinuousLine(screenLine);
        ScrollPreviewToEnd();
      },
      [this](const FaultRecord& record) {
        AddContinuousLine(ComposeFaultLine(record));
        ScrollPreviewToEnd();
      },
  });
  simulation_.SetPreviewExists(true);
  attached_ = true;
}

TFormDrucker::~TFormDrucker() {
  // Destroyed without a close (the program ends): the simulation must not
  // keep sending lines to a window that is gone.
  DetachFromSimulation();
}

void TFormDrucker::FormCreate(CommonKeys& keys) {
  setObjectName(QStringLiteral("FormDrucker"));
  setWindowTitle(QStringLiteral("Drucker Vorschau"));
  setAttribute(Qt::WA_DeleteOnClose);
  // Only the main window ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  QFont formFont;
  formFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("Arial")});
  formFont.setPixelSize(11);
  setFont(formFont);
  move(FormLeft, FormTop);
  setFixedSize(ClientWidth, ClientHeight);

  editDrucken_ = new QPlainTextEdit(this);
  editDrucken_->setObjectName(QStringLiteral("EditDrucken"));
  editDrucken_->setGeometry(0, 0, ClientWidth, EditHeight);
  editDrucken_->setReadOnly(true);
  editDrucken_->setFont(PreviewScreenFont());
  editDrucken_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editDrucken_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Not a tab stop; a click still reaches it, and EditDruckenEnter decides.
  editDrucken_->setFocusPolicy(Qt::ClickFocus);
  editDrucken_->installEventFilter(this);

  druckStart_ = AddButton(this, "DruckStart", "Drucken", 272);
  druckNicht_ = AddButton(this, "DruckNicht", "Abbrechen", 384);
  // Queued: a print error then leaves this handler after the button has
  // finished its click, straight into the application's exception box.
  connect(druckStart_, &QPushButton::clicked, this, &TFormDrucker::DruckStartClick,
          Qt::QueuedConnection);
  connect(druckNicht_, &QPushButton::clicked, this, &TFormDrucker::DruckNichtClick);

  // FormKeyDown and DruckStartKeyDown: the common keys of every window.
  keys.InstallOn(this);
}

void TFormDrucker::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Restoring a minimised window is no new showing.
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TFormDrucker::FormShow() {
  druckStart_->setFocusPolicy(Qt::StrongFocus);
  setTabOrder(druckStart_, druckNicht_);
  druckStart_->setFocus();
  focusEnterCount_ = 1;
}

bool TFormDrucker::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editDrucken_ && event->type() == QEvent::FocusIn) {
    EditDruckenEnter();
  }
  return QWidget::eventFilter(watched, event);
}

void TFormDrucker::EditDruckenEnter() {
  // The report text never keeps the focus; only ScrollPreviewToEnd, which
  // resets the count, lets it in for a moment.
  if (focusEnterCount_++ != 0) {
    druckStart_->setFocus();
  }
}

ReportStatus TFormDrucker::RunReport(ReportWriter writer) {
  const ReportStatus status = writer(report_, simulation_.ReportView());
  switch (status) {
    case ReportStatus::Printed:
      ShowReportText();
      break;
    case ReportStatus::NoData:
      ShowNoDataMessage();
      break;
    case ReportStatus::Quiet:
      break;
  }
  return status;
}

void TFormDrucker::StartActualPhasePlan() {
  simulation_.StartActualPhasePlan(report_);
  ShowReportText();
}

void TFormDrucker::ShowReportText() {
  QString text = FromWindows1252(report_.ReportText());
  // Every report line ends with a line feed; the last one ends the text
  // rather than opening an empty paragraph below it.
  if (text.endsWith(QLatin1Char('\n'))) {
    text.chop(1);
  }
  editDrucken_->setPlainText(text);
}

void TFormDrucker::ShowNoDataMessage() {
  QMessageBox box(QMessageBox::NoIcon, FromWindows1252(NoDataCaption),
                  FromWindows1252(NoDataMessage), QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("NoDataBox"));
  const QPointer<TFormDrucker> alive(this);
  box.exec();
  if (alive) {
    close();
  }
}

void TFormDrucker::ScrollPreviewToEnd() {
  focusEnterCount_ = 0;
  editDrucken_->setFocus();
  QTextCursor end = editDrucken_->textCursor();
  end.movePosition(QTextCursor::End);
  editDrucken_->setTextCursor(end);
  editDrucken_->ensureCursorVisible();
  editDrucken_->verticalScrollBar()->setValue(editDrucken_->verticalScrollBar()->maximum());
  druckStart_->setFocus();
}

void TFormDrucker::AddContinuousLine(std::string_view line) {
  editDrucken_->appendPlainText(FromWindows1252(line));
}

QString TFormDrucker::PreviewText() const {
  return editDrucken_->toPlainText();
}

void TFormDrucker::DruckStartClick() {
  // The PDF printer writes where the user says, never silently over an
  // earlier printout.
  const bool toFile = printer_.outputFormat() == QPrinter::PdfFormat;
  if (toFile) {
    const QDate date = DateOf(simulation_.SimClock().SimulatedNow());
    // The folder the printer wrote to last (or was set up for) is the last
    // used one for printouts; else the program's rule for proposed files.
    const QString last = printer_.outputFileName();
    const bool printerHasFolder = !last.isEmpty() && QFileInfo(last).absoluteDir().exists();
    const QString folder = saveLocation_ != nullptr && !printerHasFolder ? saveLocation_->Folder()
                                                                         : PdfFolder(printer_);
    const QString file = askPdfFile_(this, QDir(folder).filePath(PdfFileName(printName_, date)));
    if (file.isEmpty()) {
      return;  // nothing printed; the preview stays
    }
    printer_.setOutputFileName(file);
  }
  // A printer that fails is reported; the preview stays open to try again.
  bool printed = false;
  ReportingExceptions([&] {
    PrintPreviewText(printer_, PreviewText());
    printed = true;
  });
  if (printed) {
    if (toFile) {
      if (saveLocation_ != nullptr) {
        saveLocation_->Remember(printer_.outputFileName());
      }
      ShowPdfSaved(this, printer_.outputFileName());
    }
    close();
  }
}

void TFormDrucker::DruckNichtClick() {
  close();
}

void TFormDrucker::closeEvent(QCloseEvent* event) {
  event->accept();
  FormClose();
}

void TFormDrucker::FormClose() {
  if (!attached_) {
    return;
  }
  ControlPanel& panel = simulation_.Panel();
  for (const PanelCommand command :
       {PanelCommand::EinzelDruck, PanelCommand::DateiMenu, PanelCommand::DruckenMenu,
        PanelCommand::DruckSoll, PanelCommand::DruckSt}) {
    panel.SetEnabled(command, true);
  }
  // Releasing both toggles ends both continuous printouts.
  for (const PanelToggle toggle : {PanelToggle::DruckIst, PanelToggle::DruckStEinAus}) {
    panel.SetEnabled(toggle, true);
    panel.SetDown(toggle, false);
  }
  DetachFromSimulation();
  emit Closed();
}

void TFormDrucker::DetachFromSimulation() {
  if (!attached_) {
    return;
  }
  attached_ = false;
  simulation_.SetPreviewExists(false);
  simulation_.SetListener({});
}

}  // namespace ampelsim::ui
