#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "data/result.h"
#include "planning/junction_spec.h"

namespace ampelsim::ui {

// What the dialog "Neuer Knotenpunkt" holds, as the user typed it.
struct NewJunctionEntries {
  QString SiteText1;
  QString SiteText2;
  QString ClientText;
  int CycleTime = 0;
  struct Group {
    QString Name;
    QString Kind;      // "Kfz", "Rad", "Fußgänger", "ÖPNV"
    QString MinGreen;  // empty: the default of the kind
  };
  std::vector<Group> Groups;
  // [clearing][entering] of the groups above: empty, no conflict; a number,
  // the intergreen time; "x", a conflict with the default time of the kind.
  std::vector<QStringList> Conflicts;
  struct Stage {
    QString Name;
    QString Groups;  // "1, 2, 4"
  };
  std::vector<Stage> Stages;
};

// The description (docs/new-junction.md) the entries stand for, checked as
// `ampelsim-cli new` checks a file; refused with the cell or entry at fault.
planning::JunctionSpecResult SpecOf(const NewJunctionEntries& entries);

// The entries that show a description: times it assumed stay empty or "x".
NewJunctionEntries EntriesOf(const planning::JunctionSpec& spec);

}  // namespace ampelsim::ui
