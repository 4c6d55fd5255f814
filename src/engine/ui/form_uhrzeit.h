#pragma once

#include <QDialog>

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

  Clock& clock_;
  QDateEdit* datePicker_;
  QTimeEdit* timePicker_;
  QPushButton* buttonOK_;
  QPushButton* buttonAbbruch_;
  LocalTime editedDateTime_{};
  LocalTime openedDateTime_{};
};

}  // namespace ampelsim::ui
