#include "verify/verification_report.h"

#include <gtest/gtest.h>

namespace ampelsim {
namespace {

TEST(VerificationReport, OneEntryPerFindingInFixedColumns) {
  const std::vector<Finding> findings = {
      {Severity::Fehler,
       FindingKind::Intergreen,
       Situation::Cycle,
       2,
       {3, 1},
       41,
       -1,
       "P2: K3 (G. 3) wird in s 41 grün, 2 s nach Ende von K1 (G. 1); Zwischenzeit 5 s "
       "verlangt, und das ist hier ein sehr langer Satz"},
      {Severity::Warnung,
       FindingKind::Reference,
       Situation::Data,
       0,
       {},
       -1,
       -1,
       "Notprogramm P5 ist nicht freigegeben"},
  };
  const std::vector<std::string> expected = {
      "        Fehler    : 1",
      "        Warnungen : 1",
      "        Hinweise  : 0",
      "",
      "        Nr. Art     Prog. Sek. Gruppen   Pruefung / Lage",
      "        " + std::string(70, '-'),
      "        001 Fehler  P2    041  03-01     Zwischenzeit / Umlauf",
      // 62 characters at most; "G. 1" is never split.
      "            P2: K3 (G. 3) wird in s 41 gruen, 2 s nach Ende von K1 (G. 1);",
      "            Zwischenzeit 5 s verlangt, und das ist hier ein sehr langer",
      "            Satz",
      "        002 Warnung                      Verweis / Daten",
      "            Notprogramm P5 ist nicht freigegeben",
  };
  EXPECT_EQ(FindingReportLines(findings), expected);
  EXPECT_EQ(FindingReportLines({}).back(),
            "        Keine Befunde: alle Pruefungen ohne Beanstandung.");
}

}  // namespace
}  // namespace ampelsim
