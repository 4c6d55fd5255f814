#include "engine/ui/form_uhrzeit.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimeEdit>

#include "engine/ui/local_time_qt.h"
#include "widgets/common_keys.h"

namespace ampelsim::ui {
namespace {

// The program speaks German, whatever the desktop's language: the long date
// names the weekday and the month in German.
QLocale GermanLocale() {
  return QLocale(QLocale::German, QLocale::Germany);
}

// Both editors hold a whole date-time; UTC keeps every civil time valid.
void PreparePicker(QDateTimeEdit* picker, const QString& name, const QString& format) {
  picker->setObjectName(name);
  picker->setLocale(GermanLocale());
  picker->setTimeSpec(Qt::UTC);
  picker->setDisplayFormat(format);
}

}  // namespace

TFormUhrzeit::TFormUhrzeit(Clock& clock, CommonKeys& keys, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      clock_(clock),
      datePicker_(new QDateEdit(this)),
      timePicker_(new QTimeEdit(this)),
      buttonOK_(new QPushButton(QStringLiteral("OK"), this)),
      buttonAbbruch_(new QPushButton(QStringLiteral("Abbruch"), this)) {
  setObjectName(QStringLiteral("FormUhrzeit"));
  setWindowTitle(QStringLiteral("Datum und Zeit für die Steuerung"));
  setModal(false);

  PreparePicker(datePicker_, QStringLiteral("DatePicker"),
                GermanLocale().dateFormat(QLocale::LongFormat));
  datePicker_->setCalendarPopup(true);
  PreparePicker(timePicker_, QStringLiteral("TimePicker"), QStringLiteral("hh:mm:ss"));
  buttonOK_->setObjectName(QStringLiteral("ButtonOK"));
  buttonAbbruch_->setObjectName(QStringLiteral("ButtonAbbruch"));
  // Enter in a picker only ends the entry; it does not confirm the dialog.
  buttonOK_->setAutoDefault(false);
  buttonAbbruch_->setAutoDefault(false);

  auto* labelDatum = new QLabel(QStringLiteral("Datum:"), this);
  labelDatum->setBuddy(datePicker_);
  auto* labelUhrzeit = new QLabel(QStringLiteral("Uhrzeit:"), this);
  labelUhrzeit->setBuddy(timePicker_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(buttonOK_);
  buttons->addWidget(buttonAbbruch_);
  buttons->addStretch();

  auto* layout = new QGridLayout(this);
  layout->addWidget(labelDatum, 0, 0);
  layout->addWidget(labelUhrzeit, 0, 1);
  layout->addWidget(datePicker_, 1, 0);
  layout->addWidget(timePicker_, 1, 1);
  layout->addLayout(buttons, 2, 0, 1, 2);
  layout->setColumnMinimumWidth(0, 210);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(datePicker_, &QDateTimeEdit::dateTimeChanged, this,
          [this] { DatePickerChange(datePicker_); });
  connect(timePicker_, &QDateTimeEdit::dateTimeChanged, this,
          [this] { DatePickerChange(timePicker_); });
  connect(datePicker_->calendarWidget(), &QCalendarWidget::clicked, this,
          &TFormUhrzeit::DatePickerCloseUp);
  connect(datePicker_->calendarWidget(), &QCalendarWidget::activated, this,
          &TFormUhrzeit::DatePickerCloseUp);
  connect(datePicker_, &QDateTimeEdit::editingFinished, this,
          [this] { PickerEditingFinished(datePicker_); });
  connect(timePicker_, &QDateTimeEdit::editingFinished, this,
          [this] { PickerEditingFinished(timePicker_); });
  connect(buttonOK_, &QPushButton::clicked, this, &TFormUhrzeit::ButtonOKClick);
  connect(buttonAbbruch_, &QPushButton::clicked, this, &TFormUhrzeit::ButtonAbbruchClick);

  keys.InstallOn(this);
}

void TFormUhrzeit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A window restored from the task bar is not opened anew.
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TFormUhrzeit::FormShow() {
  openedDateTime_ = clock_.LocalNow();
  editedDateTime_ = openedDateTime_;
  ShowInPickers(editedDateTime_);
  CentreOnScreen();
}

void TFormUhrzeit::DatePickerChange(const QDateTimeEdit* changed) {
  editedDateTime_ = ToLocalTime(changed->dateTime());
  QDateTimeEdit* other = changed == datePicker_ ? static_cast<QDateTimeEdit*>(timePicker_)
                                                : static_cast<QDateTimeEdit*>(datePicker_);
  const QSignalBlocker quiet(other);
  other->setDateTime(changed->dateTime());
}

void TFormUhrzeit::DatePickerCloseUp() {
  DatePickerChange(datePicker_);
}

void TFormUhrzeit::PickerEditingFinished(const QDateTimeEdit* picker) {
  // An entry that is no date or time is dropped without a word: both pickers
  // return to the last value that was accepted.
  if (!PickerTextIsValid(picker) || ToLocalTime(picker->dateTime()) != editedDateTime_) {
    ShowInPickers(editedDateTime_);
  }
}

void TFormUhrzeit::ButtonOKClick() {
  openedDateTime_ = editedDateTime_;
  clock_.SetSimulatedNow(editedDateTime_);
  hide();
}

void TFormUhrzeit::ButtonAbbruchClick() {
  editedDateTime_ = openedDateTime_;
  ShowInPickers(openedDateTime_);
  hide();
}

void TFormUhrzeit::ShowInPickers(LocalTime moment) {
  const QDateTime shown = ToQDateTime(moment);
  for (QDateTimeEdit* picker :
       {static_cast<QDateTimeEdit*>(datePicker_), static_cast<QDateTimeEdit*>(timePicker_)}) {
    const QSignalBlocker quiet(picker);
    picker->setDateTime(shown);
  }
}

bool TFormUhrzeit::PickerTextIsValid(const QDateTimeEdit* picker) const {
  return picker->locale().toDateTime(picker->text(), picker->displayFormat()).isValid();
}

void TFormUhrzeit::CentreOnScreen() {
  const QScreen* shownOn = screen();
  if (shownOn == nullptr) {
    return;
  }
  QRect frame = frameGeometry();
  frame.moveCenter(shownOn->availableGeometry().center());
  move(frame.topLeft());
}

}  // namespace ampelsim::ui
