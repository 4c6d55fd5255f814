#include "gui/engine/form_uhrzeit.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTimer>

#include <algorithm>

#include "gui/engine/local_time_qt.h"
#include "gui/widgets/common_keys.h"

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
  for (QDateTimeEdit* picker :
       {static_cast<QDateTimeEdit*>(datePicker_), static_cast<QDateTimeEdit*>(timePicker_)}) {
    if (auto* editor = picker->findChild<QLineEdit*>()) {
      editor->installEventFilter(this);
    }
    picker->installEventFilter(this);
  }
}

bool TFormUhrzeit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == datePicker_ || watched == timePicker_)) {
    auto* picker = static_cast<QDateTimeEdit*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9) {
      return TypeDigit(picker, key->key() - Qt::Key_0);
    }
    typedDigits_.clear();  // any other key ends the digits of a section
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    typedDigits_.clear();
    for (QDateTimeEdit* picker :
         {static_cast<QDateTimeEdit*>(datePicker_), static_cast<QDateTimeEdit*>(timePicker_)}) {
      if (watched == picker->findChild<QLineEdit*>()) {
        // After the editor has placed its cursor.
        QTimer::singleShot(0, picker, [this, picker] { SelectSectionAtCursor(picker); });
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFormUhrzeit::SelectSectionAtCursor(QDateTimeEdit* picker) {
  const auto* editor = picker->findChild<QLineEdit*>();
  // A range the user dragged over stays selected.
  if (editor == nullptr || editor->hasSelectedText()) {
    return;
  }
  picker->setSelectedSection(picker->currentSection());
}

namespace {

// How many digits a section takes, and its largest value.
struct SectionDigits {
  int Count;
  int Largest;
};

SectionDigits DigitsOf(QDateTimeEdit::Section section) {
  switch (section) {
    case QDateTimeEdit::YearSection:
      return {4, 9999};
    case QDateTimeEdit::MonthSection:
      return {2, 12};
    case QDateTimeEdit::DaySection:
      return {2, 31};
    case QDateTimeEdit::HourSection:
      return {2, 23};
    case QDateTimeEdit::MinuteSection:
    case QDateTimeEdit::SecondSection:
      return {2, 59};
    default:
      return {0, 0};
  }
}

// The moment with one section replaced; a day beyond the month's end becomes
// its last day.
QDateTime WithSection(const QDateTime& moment, QDateTimeEdit::Section section, int value) {
  QDate date = moment.date();
  QTime time = moment.time();
  auto dayIn = [](int year, int month, int day) {
    return QDate(year, month, std::min(day, QDate(year, month, 1).daysInMonth()));
  };
  switch (section) {
    case QDateTimeEdit::YearSection:
      date = dayIn(value, date.month(), date.day());
      break;
    case QDateTimeEdit::MonthSection:
      date = dayIn(date.year(), value, date.day());
      break;
    case QDateTimeEdit::DaySection:
      date = dayIn(date.year(), date.month(), value);
      break;
    case QDateTimeEdit::HourSection:
      time = QTime(value, time.minute(), time.second());
      break;
    case QDateTimeEdit::MinuteSection:
      time = QTime(time.hour(), value, time.second());
      break;
    case QDateTimeEdit::SecondSection:
      time = QTime(time.hour(), time.minute(), value);
      break;
    default:
      break;
  }
  return QDateTime(date, time, moment.timeSpec());
}

}  // namespace

bool TFormUhrzeit::TypeDigit(QDateTimeEdit* picker, int digit) {
  const QDateTimeEdit::Section section = picker->currentSection();
  const SectionDigits digits = DigitsOf(section);
  if (digits.Count == 0) {
    return false;  // a weekday name: the editor decides
  }
  if (typedInto_ != picker || typedSection_ != picker->currentSectionIndex() ||
      typedDigits_.size() >= digits.Count) {
    typedDigits_.clear();
  }
  typedInto_ = picker;
  typedSection_ = picker->currentSectionIndex();
  typedDigits_ += QChar(u'0' + digit);
  const int value = typedDigits_.toInt();
  const bool full = typedDigits_.size() >= digits.Count || value * 10 > digits.Largest;
  const int least =
      section == QDateTimeEdit::MonthSection || section == QDateTimeEdit::DaySection ? 1 : 0;
  // A year is taken whole, never as the first digits of one.
  const bool take = section == QDateTimeEdit::YearSection ? full : value >= least;
  if (take && value <= digits.Largest && (section != QDateTimeEdit::YearSection || value >= 1)) {
    const QDateTime moment = WithSection(picker->dateTime(), section, value);
    if (moment.isValid()) {
      picker->setDateTime(moment);
    }
  }
  int next = picker->currentSectionIndex();
  if (full) {
    typedDigits_.clear();
    // On to the next section that takes digits.
    for (int index = next + 1; index < picker->sectionCount(); ++index) {
      if (DigitsOf(picker->sectionAt(index)).Count > 0) {
        next = index;
        break;
      }
    }
  }
  picker->setCurrentSectionIndex(next);
  picker->setSelectedSection(picker->sectionAt(next));
  typedSection_ = next;
  return true;
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
