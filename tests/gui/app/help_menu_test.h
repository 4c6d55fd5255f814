#pragma once

#include <QObject>

namespace ampelsim::test {

// The user guide and the main window's menu bar describe the same menus.
class HelpMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void guideParsing();
  void guideListsEveryMenuOfTheProgramAndNoOther();
  void guideListsEverySubmenuEntry();
};

}  // namespace ampelsim::test
