#include "gui/data/form_laden.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include "app/simulation.h"
#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {
namespace {

constexpr int ClientWidth = 452;
constexpr int ClientHeight = 437;
constexpr int LogHeight = 401;

// A Courier face 11 pixels high; "Courier New" is matched by its metric twin
// Liberation Mono where that is installed, otherwise the system's fixed font.
QFont LogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                    QStringLiteral("Courier")});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(11);
  if (!QFontInfo(font).fixedPitch()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
  }
  return font;
}

}  // namespace

TFormLaden::TFormLaden(Simulation& simulation, CommonKeys& keys, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      simulation_(simulation),
      editLaden_(new QPlainTextEdit(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
  setObjectName(QStringLiteral("FormLaden"));
  setWindowTitle(QStringLiteral("Daten für Steuerung laden"));
  setFixedSize(ClientWidth, ClientHeight);

  editLaden_->setObjectName(QStringLiteral("EditLaden"));
  editLaden_->setGeometry(0, 0, ClientWidth, LogHeight);
  editLaden_->setReadOnly(true);
  editLaden_->setFocusPolicy(Qt::NoFocus);
  editLaden_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editLaden_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  editLaden_->setFont(LogFont());

  ok_->setObjectName(QStringLiteral("OK"));
  ok_->setGeometry(188, 408, 75, 25);
  ok_->setDefault(true);
  ok_->installEventFilter(this);
  connect(ok_, &QPushButton::clicked, this, &TFormLaden::OKClick);

  keys.InstallOn(this);
}

int TFormLaden::LoadAndShow(const QString& directory) {
  if (!simulation_.LoadDataSet(directory.toStdString())) {
    return QDialog::Rejected;
  }
  return exec();
}

QString TFormLaden::LogText() const {
  return editLaden_->toPlainText();
}

void TFormLaden::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

bool TFormLaden::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ok_ && event->type() == QEvent::FocusOut) {
    // Only a move to another control counts, not the window losing focus.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      OKExit();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormLaden::FormShow() {
  // The log of the last load, wherever it came from.
  QString text;
  for (const std::string& line : simulation_.Loader().Log()) {
    text += QString::fromStdString(line);
    text += QLatin1Char('\n');
  }
  editLaden_->setPlainText(text);
  ok_->setFocus(Qt::OtherFocusReason);
}

void TFormLaden::OKClick() {
  accept();
}

void TFormLaden::OKExit() {
  // The focus may not be taken back while it is still moving away.
  QTimer::singleShot(0, ok_, [this] { ok_->setFocus(Qt::OtherFocusReason); });
}

}  // namespace ampelsim::ui
