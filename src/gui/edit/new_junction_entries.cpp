#include "gui/edit/new_junction_entries.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "data/windows1252.h"

namespace ampelsim::ui {
namespace {

bool IsConflictMark(const QString& cell) {
  return cell.compare(QStringLiteral("x"), Qt::CaseInsensitive) == 0;
}

Error CellError(const QString& where, const QString& text, const char* expected) {
  return Error{QStringLiteral("%1: „%2“ ist %3")
                   .arg(where, text, QString::fromUtf8(expected))
                   .toStdString()};
}

QString FromWindows1252(const std::string& text) {
  return QString::fromStdString(Windows1252ToUtf8(text));
}

}  // namespace

planning::JunctionSpecResult SpecOf(const NewJunctionEntries& entries) {
  QJsonObject root{{QStringLiteral("SiteText1"), entries.SiteText1},
                   {QStringLiteral("SiteText2"), entries.SiteText2},
                   {QStringLiteral("ClientText"), entries.ClientText},
                   {QStringLiteral("CycleTime"), entries.CycleTime}};
  QJsonArray groups;
  for (std::size_t g = 0; g < entries.Groups.size(); ++g) {
    const NewJunctionEntries::Group& group = entries.Groups[g];
    QJsonObject object{{QStringLiteral("Group"), static_cast<int>(g + 1)},
                       {QStringLiteral("Name"), group.Name},
                       {QStringLiteral("Kind"), group.Kind}};
    if (!group.MinGreen.trimmed().isEmpty()) {
      bool ok = false;
      const int seconds = group.MinGreen.trimmed().toInt(&ok);
      if (!ok) {
        return CellError(QStringLiteral("Mindestgrün G. %1").arg(g + 1), group.MinGreen,
                         "keine ganze Zahl");
      }
      object.insert(QStringLiteral("MinGreen"), seconds);
    }
    groups.append(object);
  }
  root.insert(QStringLiteral("Groups"), groups);

  QJsonArray conflicts;
  QJsonArray intergreens;
  const int count = static_cast<int>(entries.Groups.size());
  auto cell = [&](int clearing, int entering) {
    const auto row = static_cast<std::size_t>(clearing);
    if (row >= entries.Conflicts.size() || entering >= entries.Conflicts[row].size()) {
      return QString();
    }
    return entries.Conflicts[row][entering].trimmed();
  };
  for (int clearing = 0; clearing < count; ++clearing) {
    for (int entering = 0; entering < count; ++entering) {
      const QString text = cell(clearing, entering);
      if (text.isEmpty() || IsConflictMark(text) || clearing == entering) {
        continue;
      }
      bool ok = false;
      const int seconds = text.toInt(&ok);
      if (!ok) {
        return CellError(
            QStringLiteral("Zelle G. %1 räumt / G. %2").arg(clearing + 1).arg(entering + 1), text,
            "weder eine Zahl noch „x“");
      }
      intergreens.append(QJsonObject{{QStringLiteral("Clearing"), clearing + 1},
                                     {QStringLiteral("Entering"), entering + 1},
                                     {QStringLiteral("Seconds"), seconds}});
    }
  }
  for (int a = 0; a < count; ++a) {
    for (int b = a + 1; b < count; ++b) {
      if (!cell(a, b).isEmpty() || !cell(b, a).isEmpty()) {
        conflicts.append(QJsonArray{a + 1, b + 1});
      }
    }
  }
  root.insert(QStringLiteral("Conflicts"), conflicts);
  root.insert(QStringLiteral("Intergreens"), intergreens);

  QJsonArray stages;
  for (std::size_t s = 0; s < entries.Stages.size(); ++s) {
    const NewJunctionEntries::Stage& stage = entries.Stages[s];
    QJsonArray members;
    for (const QString& part : stage.Groups.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      bool ok = false;
      const int group = part.trimmed().toInt(&ok);
      if (!ok) {
        return CellError(QStringLiteral("Gruppen der Phase %1").arg(s + 1), part.trimmed(),
                         "keine Gruppennummer");
      }
      members.append(group);
    }
    QJsonObject object{{QStringLiteral("Groups"), members}};
    if (!stage.Name.trimmed().isEmpty()) {
      object.insert(QStringLiteral("Name"), stage.Name.trimmed());
    }
    stages.append(object);
  }
  root.insert(QStringLiteral("Stages"), stages);
  const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
  return planning::ParseJunctionSpec(std::string_view(json.constData(), json.size()));
}

NewJunctionEntries EntriesOf(const planning::JunctionSpec& spec) {
  NewJunctionEntries entries;
  entries.SiteText1 = FromWindows1252(spec.SiteText1);
  entries.SiteText2 = FromWindows1252(spec.SiteText2);
  entries.ClientText = FromWindows1252(spec.ClientText);
  entries.CycleTime = spec.CycleTime;
  const int count = static_cast<int>(spec.Groups.size());
  for (const planning::SpecGroup& group : spec.Groups) {
    entries.Groups.push_back({QString::fromStdString(group.Name),
                              QString::fromStdString(planning::KindName(group.Kind)),
                              group.MinGreenAssumed ? QString() : QString::number(group.MinGreen)});
  }
  entries.Conflicts.assign(static_cast<std::size_t>(count), QStringList());
  for (QStringList& row : entries.Conflicts) {
    for (int column = 0; column < count; ++column) {
      row << QString();
    }
  }
  for (const planning::SpecIntergreen& time : spec.Intergreens) {
    entries.Conflicts[static_cast<std::size_t>(time.Clearing - 1)][time.Entering - 1] =
        time.Assumed ? QStringLiteral("x") : QString::number(time.Seconds);
  }
  for (const planning::SpecStage& stage : spec.Stages) {
    QStringList groups;
    for (const int group : stage.Groups) {
      groups << QString::number(group);
    }
    entries.Stages.push_back(
        {QString::fromStdString(stage.Name), groups.join(QStringLiteral(", "))});
  }
  return entries;
}

}  // namespace ampelsim::ui
