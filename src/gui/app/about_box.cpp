#include "gui/app/about_box.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/widgets/common_keys.h"

namespace ampelsim::ui {
namespace {

QLabel* AddLabel(QVBoxLayout* layout, QWidget* parent, const char* objectName, const QString& text,
                 int pointSize, bool bold) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(objectName));
  label->setAlignment(Qt::AlignCenter);
  QFont font = label->font();
  font.setPointSize(pointSize);
  font.setBold(bold);
  label->setFont(font);
  layout->addWidget(label);
  return label;
}

}  // namespace

QString ProgramNameAndVersion() {
  return QStringLiteral("ampelsim ") + QString::fromLatin1(AMPELSIM_VERSION);
}

TAboutBox::TAboutBox(CommonKeys& keys, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Info"));

  auto* layout = new QVBoxLayout(this);
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setSpacing(10);
  AddLabel(panelLayout, panel, "ProgramName", ProgramNameAndVersion(), 14, true);
  AddLabel(panelLayout, panel, "ProductName",
           QStringLiteral("Simulationsprogramm für Lichtsignalsteuerungen"), 12, true);
  AddLabel(panelLayout, panel, "Comments",
           QStringLiteral("(Nur für Festzeit mit VA Programme der Version 5.xx)"), 9, false);
  version_ = AddLabel(panelLayout, panel, "Version", QString(), 9, false);
  AddLabel(panelLayout, panel, "Copyright",
           QStringLiteral("Signalprogramme am PC ablaufen lassen und prüfen"), 9, false);
  layout->addWidget(panel);

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OKButton"));
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(okButton_, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  keys.InstallOn(okButton_);
}

void TAboutBox::showEvent(QShowEvent* event) {
  version_->setText(QString::fromLatin1(VersionText) + QString::fromLatin1(VersionDateText));
  QDialog::showEvent(event);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

}  // namespace ampelsim::ui
