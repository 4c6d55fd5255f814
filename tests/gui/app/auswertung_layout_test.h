#pragma once

#include <QObject>

namespace ampelsim::test {

// The "Auswertung" window at the size it opens with, on the demo junction.
class AuswertungLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup();

  void defaultSizeShowsEveryColumnAndTheJunctionRow();
};

}  // namespace ampelsim::test
