#include "gui/traffic/auswertung_spread.h"

#include "traffic/spread_table.h"

namespace ampelsim::ui {

QStringList AuswertungSpreadHeadings() {
  QStringList headings{QStringLiteral("Signalgruppe"), QStringLiteral("Art")};
  for (const traffic::FigureField& field : traffic::SpreadFigureFields()) {
    const traffic::SpreadFigureLook look = traffic::SpreadLookOf(field.Name);
    QString heading = QString::fromUtf8(look.Top.data(), static_cast<qsizetype>(look.Top.size()));
    if (!look.Bottom.empty()) {
      heading += QLatin1Char('\n') +
                 QString::fromUtf8(look.Bottom.data(), static_cast<qsizetype>(look.Bottom.size()));
    }
    if (field.Source == traffic::FigureSource::Hbs) {
      // The analytic figures share their names with the simulated ones.
      heading += QStringLiteral("\n(HBS)");
    }
    headings << heading;
  }
  headings << QStringLiteral("Qualitätsstufen\n(Anzahl der Läufe)");
  return headings;
}

QStringList AuswertungSpreadCells(const traffic::GroupSpread& group, const QString& name) {
  QStringList cells{name, group.Group == 0                           ? QString()
                          : group.Kind == traffic::RoadUser::Vehicle ? QStringLiteral("Kfz")
                                                                     : QStringLiteral("Fg")};
  const auto& fields = traffic::SpreadFigureFields();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    cells << (f < group.Figures.size()
                  ? QString::fromStdString(traffic::SpreadCellText(
                        group.Figures[f], traffic::SpreadLookOf(fields[f].Name),
                        traffic::Spelling::Utf8))
                  : QString());
  }
  cells << QString::fromStdString(traffic::QualityCountText(group));
  return cells;
}

char WorstQuality(const traffic::GroupSpread& group) {
  for (std::size_t level = traffic::QualityLevels; level-- > 0;) {
    if (group.QualityCounts[level] > 0) {
      return static_cast<char>('A' + level);
    }
  }
  return '-';
}

}  // namespace ampelsim::ui
