#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace ampelsim::test {

// The main window with all the program's windows around it, driven by
// calling the tick directly.
class FormSteuerTest : public QObject {
  Q_OBJECT

 public slots:
  // Stands in for the desktop's document viewer.
  void OpenUrl(const QUrl& url) { openedUrls_.append(url); }

 private slots:
  void init();
  void cleanup();

  void startShowsOnlyTheMainWindowAndRunsTheTick();
  void windowFrame();
  void menuEntries_data();
  void menuEntries();
  void reportEntriesInOrder();
  void pruefenShowsTheFindingsAndPrintsThem();
  void speedBarControls_data();
  void speedBarControls();
  void lampsStartSilver_data();
  void lampsStartSilver();
  void labelsAndLampsShowTheModel();
  void elidePath_data();
  void elidePath();
  void longDataDirectoryKeepsItsLastFolderVisible();
  void holdingStartAcrossATickStarts();
  void startClickBetweenTicksDoesNotStart();
  void startCheckMessages_data();
  void startCheckMessages();
  void shiftReleaseKeepsTheDemand();
  void missingGlyphFileReachesTheExceptionBox();
  void monitoringSwitchSpringsBackAfter600Seconds();
  void togglesAndProgramButtonsGoThroughTheModel();
  void pressedTogglesAreSunkenAndDarker_data();
  void pressedTogglesAreSunkenAndDarker();
  void menuEnablesFollowTheEngine();
  void datenLadenCancelledChangesNothing();
  void datenLadenConfirmedLoadsTheChosenDirectory();
  void datenLadenConfirmedWhileRunningIsRefusedWithAMessage();
  void f12InHeadWindowBringsUpTheMainWindow();
  void helpKeys();
  void helpWithoutViewerTellsWhereTheDocumentIs();
  void clockCommands();
  void windowCommands();

 private:
  QList<QUrl> openedUrls_;
};

}  // namespace ampelsim::test
