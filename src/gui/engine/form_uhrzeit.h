#pragma once

#include <QDialog>
#include <QString>

#include "engine/clock.h"

class QDateEdit;
class QDateTime;
class QDateTimeEdit;
class QPushButton;
class QTimeEdit;

namespace ampelsim::ui {

class CommonKeys;

// "Datum und Zeit für die Steuerung": the user sets the moment from which the
// simulated clock runs on. Shown modeless; every showing starts from the
// computer's own local time, not from the simulated one.
class TFormUhrzeit : public QDialog {
  Q_OBJECT

 public:
  TFormUhrzeit(Clock& clock, CommonKeys& keys, QWidget* parent = nullptr);

  // The value both pickers hold, and the local time when the dialog was
  // opened (what "Abbruch" goes back to).
  LocalTime EditedDateTime() const { return editedDateTime_; }
  LocalTime OpenedDateTime() const { return openedDateTime_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void DatePickerChange(const QDateTimeEdit* changed);
  void DatePickerCloseUp();
  void PickerEditingFinished(const QDateTimeEdit* picker);
  void ButtonOKClick();
  void ButtonAbbruchClick();
  void ShowInPickers(LocalTime moment);
  bool PickerTextIsValid(const QDateTimeEdit* picker) const;
  void CentreOnScreen();
  // A click into a picker selects the whole section under it, so that typed
  // digits replace the section as in any date field.
  void SelectSectionAtCursor(QDateTimeEdit* picker);
  // A digit typed into a picker: the digits typed into the current section
  // make its new value, which replaces the section whole; a full section
  // moves on to the next. True when the key was taken.
  bool TypeDigit(QDateTimeEdit* picker, int digit);

  Clock& clock_;
  QDateEdit* datePicker_;
  QTimeEdit* timePicker_;
  QPushButton* buttonOK_;
  QPushButton* buttonAbbruch_;
  const QDateTimeEdit* typedInto_ = nullptr;
  int typedSection_ = -1;
  QString typedDigits_;
  LocalTime editedDateTime_{};
  LocalTime openedDateTime_{};
};

}  // namespace ampelsim::ui
