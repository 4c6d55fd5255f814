#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTest>
#include <QTimeEdit>
#include <chrono>

#include "engine/clock.h"
#include "gui/engine/form_uhrzeit.h"
#include "gui/engine/local_time_qt.h"
#include "gui/widgets/common_keys.h"
#include "gui/forms/form_tests.h"

namespace ampelsim::test {
namespace {

using namespace std::chrono;
using ui::CommonKeys;
using ui::TFormUhrzeit;

LocalTime At(int y, unsigned mo, unsigned d, int h, int mi, int s) {
  return LocalTime{local_days{year{y} / month{mo} / day{d}}} + hours{h} + minutes{mi} + seconds{s};
}

// Friday, 1 March 2024, noon: the computer's own local time in every test.
const LocalTime LocalStart = At(2024, 3, 1, 12, 0, 0);

struct UhrzeitFixture {
  VirtualClock clock{LocalStart};
  int helpOpened = 0;
  int mainShown = 0;
  CommonKeys keys{[this] { ++helpOpened; }, [this] { ++mainShown; }};
  TFormUhrzeit form{clock, keys};

  QDateEdit* DatePicker() { return form.findChild<QDateEdit*>(QStringLiteral("DatePicker")); }
  QTimeEdit* TimePicker() { return form.findChild<QTimeEdit*>(QStringLiteral("TimePicker")); }
  QPushButton* Button(const char* name) {
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  void Show() {
    form.show();
    QCoreApplication::processEvents();
  }
};

QLineEdit* EditorOf(QWidget* picker) {
  return picker->findChild<QLineEdit*>();
}

// Clicks into the picker's text just after its character `index`, as a user
// clicks into a section without selecting it.
void ClickAtCharacter(QWidget* picker, int index) {
  QLineEdit* editor = EditorOf(picker);
  const int middle = editor->height() / 2;
  for (int x = 0; x < editor->width(); ++x) {
    if (editor->cursorPositionAt(QPoint(x, middle)) == index) {
      QTest::mouseClick(editor, Qt::LeftButton, {}, QPoint(x, middle));
      QCoreApplication::processEvents();
      return;
    }
  }
  QFAIL("no place for that character");
}

bool AnyMessageBoxOpen() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMessageBox*>(window) != nullptr && window->isVisible()) {
      return true;
    }
  }
  return false;
}

}  // namespace

class FormUhrzeitTest : public QObject {
  Q_OBJECT

 private slots:
  void DialogIsLaidOutAsDesigned() {
    UhrzeitFixture fixture;
    fixture.Show();
    QCOMPARE(fixture.form.windowTitle(), QStringLiteral("Datum und Zeit für die Steuerung"));
    QVERIFY(!fixture.form.isModal());
    QVERIFY(fixture.DatePicker() != nullptr);
    QVERIFY(fixture.TimePicker() != nullptr);
    QVERIFY(fixture.DatePicker()->calendarPopup());
    QCOMPARE(fixture.DatePicker()->text(), QStringLiteral("Freitag, 1. März 2024"));
    QCOMPARE(fixture.TimePicker()->text(), QStringLiteral("12:00:00"));
    QCOMPARE(fixture.Button("ButtonOK")->text(), QStringLiteral("OK"));
    QCOMPARE(fixture.Button("ButtonAbbruch")->text(), QStringLiteral("Abbruch"));

    QStringList labels;
    for (const QLabel* label : fixture.form.findChildren<QLabel*>()) {
      labels << label->text();
    }
    QVERIFY(labels.contains(QStringLiteral("Datum:")));
    QVERIFY(labels.contains(QStringLiteral("Uhrzeit:")));
  }

  void DialogIsCentredOnTheScreen() {
    UhrzeitFixture fixture;
    fixture.Show();
    const QPoint screenCentre = fixture.form.screen()->availableGeometry().center();
    const QPoint dialogCentre = fixture.form.frameGeometry().center();
    QVERIFY2(
        (screenCentre - dialogCentre).manhattanLength() <= 2,
        qPrintable(
            QStringLiteral("dialog centre %1,%2").arg(dialogCentre.x()).arg(dialogCentre.y())));
  }

  void PickersStartFromTheLocalTimeNotTheSimulatedOne() {
    UhrzeitFixture fixture;
    fixture.clock.SetSimulatedNow(At(2010, 2, 23, 8, 15, 0));
    fixture.clock.Advance(minutes{90});
    fixture.Show();

    const LocalTime local = LocalStart + minutes{90};
    QCOMPARE(fixture.form.OpenedDateTime(), local);
    QCOMPARE(fixture.form.EditedDateTime(), local);
    QCOMPARE(fixture.DatePicker()->dateTime(), ui::ToQDateTime(local));
    QCOMPARE(fixture.TimePicker()->dateTime(), ui::ToQDateTime(local));
  }

  void EveryShowingStartsAfresh() {
    UhrzeitFixture fixture;
    fixture.Show();
    fixture.DatePicker()->setDate(QDate(2001, 1, 1));
    fixture.form.hide();
    fixture.clock.Advance(hours{5});
    fixture.Show();

    QCOMPARE(fixture.TimePicker()->time(), QTime(17, 0, 0));
    QCOMPARE(fixture.DatePicker()->date(), QDate(2024, 3, 1));
  }

  void OKSetsTheSimulatedClockToTheChosenMoment() {
    UhrzeitFixture fixture;
    fixture.Show();
    fixture.DatePicker()->setDate(QDate(2010, 2, 26));
    fixture.TimePicker()->setTime(QTime(21, 59, 50));
    QTest::mouseClick(fixture.Button("ButtonOK"), Qt::LeftButton);

    QVERIFY(!fixture.form.isVisible());
    QVERIFY(fixture.clock.OffsetActive());
    QCOMPARE(fixture.clock.SimulatedNow(), At(2010, 2, 26, 21, 59, 50));
    QCOMPARE(fixture.clock.SimulatedNow(false), LocalStart);
    QCOMPARE(fixture.form.OpenedDateTime(), At(2010, 2, 26, 21, 59, 50));

    // The clock runs on from there: ten seconds later it is 22:00 on the Friday.
    fixture.clock.Advance(seconds{10});
    QCOMPARE(fixture.clock.SimulatedMinuteOfDay(), 22 * 60);
    QCOMPARE(fixture.clock.SimulatedWeekdayIndex(), 4);
  }

  void AbbruchKeepsThePreviousOffset() {
    UhrzeitFixture fixture;
    fixture.Show();
    fixture.DatePicker()->setDate(QDate(2015, 6, 7));
    QTest::mouseClick(fixture.Button("ButtonOK"), Qt::LeftButton);
    const milliseconds offset = fixture.clock.ClockOffset();

    fixture.clock.Advance(minutes{3});
    fixture.Show();
    fixture.DatePicker()->setDate(QDate(1999, 12, 31));
    fixture.TimePicker()->setTime(QTime(23, 59, 0));
    QTest::mouseClick(fixture.Button("ButtonAbbruch"), Qt::LeftButton);

    QVERIFY(!fixture.form.isVisible());
    QVERIFY(fixture.clock.OffsetActive());
    QCOMPARE(fixture.clock.ClockOffset(), offset);
    const LocalTime opened = LocalStart + minutes{3};
    QCOMPARE(fixture.DatePicker()->dateTime(), ui::ToQDateTime(opened));
    QCOMPARE(fixture.TimePicker()->dateTime(), ui::ToQDateTime(opened));
  }

  void AbbruchWithoutAnyOffsetLeavesTheClockAlone() {
    UhrzeitFixture fixture;
    fixture.Show();
    fixture.TimePicker()->setTime(QTime(3, 4, 5));
    QTest::mouseClick(fixture.Button("ButtonAbbruch"), Qt::LeftButton);
    QVERIFY(!fixture.clock.OffsetActive());
    QCOMPARE(fixture.clock.SimulatedNow(), LocalStart);
  }

  void ChangingOnePickerChangesTheOther_data() {
    QTest::addColumn<bool>("changeDate");
    QTest::addColumn<QDateTime>("expected");
    QTest::newRow("date picker") << true << QDateTime(QDate(2012, 8, 9), QTime(12, 0), Qt::UTC);
    QTest::newRow("time picker") << false << QDateTime(QDate(2024, 3, 1), QTime(6, 7, 8), Qt::UTC);
  }

  void ChangingOnePickerChangesTheOther() {
    QFETCH(bool, changeDate);
    QFETCH(QDateTime, expected);
    UhrzeitFixture fixture;
    fixture.Show();
    if (changeDate) {
      fixture.DatePicker()->setDate(expected.date());
    } else {
      fixture.TimePicker()->setTime(expected.time());
    }
    QCOMPARE(fixture.DatePicker()->dateTime(), expected);
    QCOMPARE(fixture.TimePicker()->dateTime(), expected);
    QCOMPARE(fixture.form.EditedDateTime(), ui::ToLocalTime(expected));
  }

  void TypingIntoAPickerChangesTheOther() {
    UhrzeitFixture fixture;
    fixture.Show();
    QTimeEdit* picker = fixture.TimePicker();
    picker->setFocus();
    picker->setCurrentSection(QDateTimeEdit::HourSection);
    QTest::keyClick(picker, Qt::Key_Up);
    QTest::keyClick(picker, Qt::Key_Up);
    QCOMPARE(fixture.DatePicker()->dateTime().time().hour(), 14);
    QCOMPARE(fixture.form.EditedDateTime(), At(2024, 3, 1, 14, 0, 0));
  }

  void TypedDigitsReplaceTheSectionClickedInto_data() {
    QTest::addColumn<bool>("date");
    QTest::addColumn<int>("clickAt");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    // Within the hour "12", then on into minutes and seconds.
    QTest::newRow("hour, minute, second")
        << false << 1 << QStringLiteral("074530") << QStringLiteral("07:45:30");
    QTest::newRow("minute from its end")
        << false << 5 << QStringLiteral("5") << QStringLiteral("12:05:00");
    QTest::newRow("day") << true << 10 << QStringLiteral("14")
                         << QStringLiteral("Donnerstag, 14. März 2024");
    QTest::newRow("year from its middle")
        << true << 20 << QStringLiteral("2025") << QStringLiteral("Samstag, 1. März 2025");
  }

  void TypedDigitsReplaceTheSectionClickedInto() {
    QFETCH(bool, date);
    QFETCH(int, clickAt);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    UhrzeitFixture fixture;
    fixture.Show();
    QDateTimeEdit* picker = date ? static_cast<QDateTimeEdit*>(fixture.DatePicker())
                                 : static_cast<QDateTimeEdit*>(fixture.TimePicker());
    fixture.form.activateWindow();
    picker->setFocus();
    ClickAtCharacter(picker, clickAt);
    QVERIFY(EditorOf(picker)->hasSelectedText());
    QTest::keyClicks(picker, typed);
    QTest::keyClick(picker, Qt::Key_Return);  // ends the entry
    QCOMPARE(picker->text(), shown);
    // The other picker follows the value typed.
    const QDateTime value = picker->dateTime();
    QCOMPARE(fixture.form.EditedDateTime(), ui::ToLocalTime(value));
  }

  void InvalidEntryIsSilentlyRestored_data() {
    QTest::addColumn<bool>("inDatePicker");
    QTest::addColumn<QString>("entry");
    QTest::newRow("hour out of range") << false << QStringLiteral("25:00:00");
    QTest::newRow("minutes missing") << false << QStringLiteral("12::00");
    QTest::newRow("day missing") << true << QStringLiteral("Montag, . Juni 2011");
    QTest::newRow("year missing") << true << QStringLiteral("Montag, 6. Juni");
  }

  void InvalidEntryIsSilentlyRestored() {
    QFETCH(bool, inDatePicker);
    QFETCH(QString, entry);
    UhrzeitFixture fixture;
    fixture.Show();
    // An accepted change first, so that "restored" means that value.
    fixture.DatePicker()->setDate(QDate(2011, 6, 6));
    const LocalTime accepted = At(2011, 6, 6, 12, 0, 0);

    QDateTimeEdit* picker = inDatePicker ? static_cast<QDateTimeEdit*>(fixture.DatePicker())
                                         : static_cast<QDateTimeEdit*>(fixture.TimePicker());
    picker->setFocus();
    EditorOf(picker)->setText(entry);
    QTest::keyClick(picker, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(EditorOf(picker)->text(), picker->text());

    QVERIFY(!AnyMessageBoxOpen());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(fixture.form.isVisible());
    QCOMPARE(fixture.form.EditedDateTime(), accepted);
    QCOMPARE(fixture.DatePicker()->text(), QStringLiteral("Montag, 6. Juni 2011"));
    QCOMPARE(fixture.TimePicker()->text(), QStringLiteral("12:00:00"));
    QCOMPARE(fixture.DatePicker()->dateTime(), ui::ToQDateTime(accepted));
    QCOMPARE(fixture.TimePicker()->dateTime(), ui::ToQDateTime(accepted));

    QTest::mouseClick(fixture.Button("ButtonOK"), Qt::LeftButton);
    QCOMPARE(fixture.clock.SimulatedNow(), accepted);
  }

  // The dialog's own check, apart from what the editor corrects by itself:
  // an entry that ends while its text is no time puts both pickers back.
  void UnparsableTextAtTheEndOfAnEntryIsReplaced() {
    UhrzeitFixture fixture;
    fixture.Show();
    fixture.TimePicker()->setTime(QTime(8, 9, 10));
    {
      // Text the editor itself has not seen, so that it corrects nothing.
      const QSignalBlocker unseen(EditorOf(fixture.TimePicker()));
      EditorOf(fixture.TimePicker())->setText(QStringLiteral("kein Wert"));
    }
    emit fixture.TimePicker()->editingFinished();

    QCOMPARE(EditorOf(fixture.TimePicker())->text(), QStringLiteral("08:09:10"));
    QCOMPARE(fixture.DatePicker()->dateTime().time(), QTime(8, 9, 10));
    QCOMPARE(fixture.form.EditedDateTime(), At(2024, 3, 1, 8, 9, 10));
    QVERIFY(!AnyMessageBoxOpen());
  }

  void FunctionKeysGoToTheCommonKeys() {
    UhrzeitFixture fixture;
    fixture.Show();
    QTest::keyClick(EditorOf(fixture.TimePicker()), Qt::Key_F1);
    QTest::keyClick(EditorOf(fixture.DatePicker()), Qt::Key_F12);
    QTest::keyClick(fixture.Button("ButtonOK"), Qt::Key_F1);
    QCOMPARE(fixture.helpOpened, 2);
    QCOMPARE(fixture.mainShown, 1);
  }
};

int RunFormUhrzeitTests(int argc, char** argv) {
  FormUhrzeitTest tests;
  return QTest::qExec(&tests, argc, argv);
}

}  // namespace ampelsim::test

#include "form_uhrzeit_test.moc"
