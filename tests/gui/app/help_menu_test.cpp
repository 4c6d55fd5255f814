#include "help_menu_test.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QtTest>

#include "app_test_support.h"
#include "gui/app/program_windows.h"

namespace ampelsim::test {
namespace {

// One menu as "Caption: entry | entry"; a command without a menu is its
// caption alone.
using MenuLines = QStringList;

QString MenuLine(const QString& caption, const QStringList& entries) {
  return entries.isEmpty() ? caption : caption + QStringLiteral(": ") + entries.join(" | ");
}

QString Caption(const QAction* action) {
  return action->text().remove(QLatin1Char('&')).trimmed();
}

QStringList Entries(const QMenu* menu) {
  QStringList entries;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) {
      entries << Caption(action);
    }
  }
  return entries;
}

MenuLines ProgramMenus(const QMenuBar& bar) {
  MenuLines lines;
  for (const QAction* action : bar.actions()) {
    if (!action->isSeparator()) {
      lines << MenuLine(Caption(action), action->menu() ? Entries(action->menu()) : QStringList());
    }
  }
  return lines;
}

// The first column of the first table in `text` whose first header cell is
// `header`.
QStringList TableColumn(const QString& text, const QString& header) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  auto firstCell = [](const QString& line) {
    return line.section(QLatin1Char('|'), 1, 1).trimmed();
  };
  for (qsizetype row = 0; row + 1 < lines.size(); ++row) {
    // A header row is the one above the row of dashes.
    if (!lines[row].startsWith(QLatin1Char('|')) || firstCell(lines[row]) != header ||
        !firstCell(lines[row + 1]).startsWith(QStringLiteral("---"))) {
      continue;
    }
    QStringList column;
    for (row += 2; row < lines.size() && lines[row].startsWith(QLatin1Char('|')); ++row) {
      column << firstCell(lines[row]);
    }
    return column;
  }
  return {};
}

// The menus chapter: one "## N.M Caption" section per menu bar entry, in
// order, each opening with the table of its entries headed "Eintrag".
MenuLines GuideMenus(const QString& guide) {
  static const QRegularExpression chapter(QStringLiteral("^# (\\d+) Die Menüs$"),
                                          QRegularExpression::MultilineOption);
  const QRegularExpressionMatch found = chapter.match(guide);
  if (!found.hasMatch()) {
    return {QStringLiteral("no chapter \"Die Menüs\"")};
  }
  const qsizetype begin = found.capturedEnd();
  const qsizetype end = guide.indexOf(QStringLiteral("\n# "), begin);
  const QString text = guide.mid(begin, end < 0 ? -1 : end - begin);
  const QRegularExpression section(
      QStringLiteral("^## ") + found.captured(1) + QStringLiteral("\\.\\d+ (.+)$"),
      QRegularExpression::MultilineOption);
  MenuLines lines;
  QRegularExpressionMatchIterator sections = section.globalMatch(text);
  while (sections.hasNext()) {
    const QRegularExpressionMatch match = sections.next();
    QString caption = match.captured(1).trimmed();
    caption.remove(QRegularExpression(QStringLiteral("^[„\"]|[“\"]$")));
    const qsizetype next = text.indexOf(QStringLiteral("\n## "), match.capturedEnd());
    const QString body = text.mid(match.capturedEnd(), next < 0 ? -1 : next - match.capturedEnd());
    lines << MenuLine(caption, TableColumn(body, QStringLiteral("Eintrag")));
  }
  return lines;
}

QString ReadGuide() {
  QFile file(qEnvironmentVariable("AMPELSIM_SOURCE_DIR") +
             QStringLiteral("/docs/help/benutzerhandbuch.md"));
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return QString::fromUtf8(file.readAll());
}

}  // namespace

void HelpMenuTest::guideParsing() {
  const QString guide = QStringLiteral(
      "# 4 Fenster\n\n## 4.1 Nicht gemeint\n\n| Eintrag | x |\n|---|---|\n| Falsch | y |\n\n"
      "# 5 Die Menüs\n\nText.\n\n## 5.1 Datei\n\n| Eintrag | Wirkung |\n|---|---|\n"
      "| Laden | lädt |\n| Beenden | endet |\n\n| Eintrag | später |\n|---|---|\n| Nein | x |\n\n"
      "## 5.2 Befehl\n\nOhne Menü.\n\n## 5.3 „?\"\n\n| Eintrag | W |\n|---|---|\n| Info | i |\n\n"
      "# 6 Weiter\n\n## 6.1 Auch nicht\n");
  QCOMPARE(GuideMenus(guide), MenuLines({"Datei: Laden | Beenden", "Befehl", "?: Info"}));
}

void HelpMenuTest::guideListsEveryMenuOfTheProgramAndNoOther() {
  const QString guide = ReadGuide();
  QVERIFY2(!guide.isEmpty(), "user guide not found");
  const StartDirectory start;
  ui::ProgramWindows windows(start.QPath());
  const MenuLines program = ProgramMenus(*windows.FormSteuer.menuBar());
  QVERIFY(program.size() >= 7);
  QCOMPARE(GuideMenus(guide), program);
}

// A submenu's entries are the table headed with the submenu's caption.
void HelpMenuTest::guideListsEverySubmenuEntry() {
  const QString guide = ReadGuide();
  const StartDirectory start;
  ui::ProgramWindows windows(start.QPath());
  int submenus = 0;
  for (const QMenu* menu : windows.FormSteuer.menuBar()->findChildren<QMenu*>()) {
    for (const QAction* action : menu->actions()) {
      if (action->menu() != nullptr) {
        ++submenus;
        QCOMPARE(TableColumn(guide, Caption(action)), Entries(action->menu()));
      }
    }
  }
  QVERIFY(submenus >= 1);
}

}  // namespace ampelsim::test
