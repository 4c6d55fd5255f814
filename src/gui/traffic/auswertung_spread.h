#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include "traffic/statistics_spread.h"

namespace ampelsim::ui {

// The "Auswertung" table while it shows the spread of several runs: the
// group, its kind, one column per figure of the spread (mean ± standard
// deviation) and how many runs gave each quality level ("B 3, C 1").
QStringList AuswertungSpreadHeadings();
QStringList AuswertungSpreadCells(const traffic::GroupSpread& group, const QString& name);

// The worst level any run gave ('A'..'F'; '-' for none): a planner signs off
// only what holds for every seed.
char WorstQuality(const traffic::GroupSpread& group);

}  // namespace ampelsim::ui
