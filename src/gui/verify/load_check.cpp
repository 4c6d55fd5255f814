#include "gui/verify/load_check.h"

#include <QDir>

#include "data/data_set_loader.h"
#include "verify/plan_verifier.h"

namespace ampelsim::ui {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FindingLine(const Finding& finding) {
  QString line = QStringLiteral("• ");
  if (finding.Program > 0) {
    line += QStringLiteral("P%1: ").arg(finding.Program);
  }
  return line + Utf8(finding.Text);
}

}  // namespace

LoadCheck CheckDataSet(const ControllerDataSet& data) {
  LoadCheck check;
  for (Finding& finding : VerifyDataSet(data)) {
    if (finding.Level == Severity::Fehler) {
      check.Errors.push_back(std::move(finding));
    }
  }
  return check;
}

LoadCheck CheckDataFolder(const QString& folder) {
  ControllerDataSet data;
  DataSetLoader loader;
  loader.Load(data, folder.toStdString());
  LoadCheck check;
  if (loader.DataValid()) {
    check = CheckDataSet(data);
  } else {
    check.Readable = false;
  }
  check.Folder = folder;
  return check;
}

bool NeedsWarning(const LoadCheck& check) {
  return !check.Readable || !check.Errors.empty();
}

QString LoadCheckText(const LoadCheck& check) {
  const QString folder = QDir::toNativeSeparators(check.Folder);
  if (!check.Readable) {
    return QStringLiteral(
               "Im Datenordner %1 liegt kein vollständiger, lesbarer Datensatz.\nDie Steuerung "
               "kann damit nicht gestartet werden; „Daten laden“ zeigt, welche Dateien fehlen.")
        .arg(folder);
  }
  const auto count = static_cast<int>(check.Errors.size());
  QString text = count == 1 ? QStringLiteral("Der Datensatz enthält 1 Fehler.")
                            : QStringLiteral("Der Datensatz enthält %1 Fehler.").arg(count);
  if (!folder.isEmpty()) {
    text += QStringLiteral("\n(%1)").arg(folder);
  }
  text += count > static_cast<int>(ShownFirstFindings) ? QStringLiteral("\n\nDie ersten Befunde:")
                                                       : QStringLiteral("\n\nBefunde:");
  for (std::size_t i = 0; i < check.Errors.size() && i < ShownFirstFindings; ++i) {
    text += QLatin1Char('\n') + FindingLine(check.Errors[i]);
  }
  return text + QStringLiteral("\n\n„Prüfen“ zeigt alle Befunde.");
}

}  // namespace ampelsim::ui
