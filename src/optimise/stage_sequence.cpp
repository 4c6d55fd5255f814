#include "optimise/stage_sequence.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

#include "data/text_format.h"

namespace ampelsim::optimise {
namespace {

using GroupSet = std::vector<int>;

bool InWindow(std::int32_t begin, std::int32_t end, int cycle, int second) {
  if (begin == 0 && end == 0) {
    return false;
  }
  const int b = begin % cycle;
  const int e = end % cycle;
  if (b == e) {
    return false;
  }
  return b < e ? (second >= b && second < e) : (second >= b || second < e);
}

GroupSet GreenSetAt(const SignalProgram& plan, int groups, int second) {
  GroupSet set;
  for (int g = 0; g < groups; ++g) {
    if (GreenAtSecond(plan, g, second)) {
      set.push_back(g);
    }
  }
  return set;
}

bool Contains(const GroupSet& outer, const GroupSet& inner) {
  return std::includes(outer.begin(), outer.end(), inner.begin(), inner.end());
}

bool ProgramUsable(const ControllerDataSet& data, int program) {
  return program >= 1 && program <= ProgramCount && IsProgramDefined(data, program);
}

Error NoProgram(int program) {
  return {Format("P%d ist kein Signalprogramm mit Umlaufzeit", program)};
}

}  // namespace

bool GreenAtSecond(const SignalProgram& plan, int group, int second) {
  const auto g = static_cast<std::size_t>(group);
  const int cycle = plan.CycleTime;
  if (cycle <= 0) {
    return false;
  }
  const int s = second % cycle;
  return InWindow(plan.GreenBegin1[g], plan.GreenEnd1[g], cycle, s) ||
         InWindow(plan.GreenBegin2[g], plan.GreenEnd2[g], cycle, s);
}

Result<StageSequence> StagesOfProgram(const ControllerDataSet& data, int program) {
  if (!ProgramUsable(data, program)) {
    return NoProgram(program);
  }
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program - 1)];
  const int cycle = plan.CycleTime;
  const int groups = GroupsInUse(data);
  std::vector<GroupSet> sets;
  for (int s = 0; s < cycle; ++s) {
    sets.push_back(GreenSetAt(plan, groups, s));
  }
  // A set is a stage when no other second shows more groups including it.
  auto isStage = [&](const GroupSet& set) {
    return !set.empty() && std::none_of(sets.begin(), sets.end(), [&](const GroupSet& other) {
      return other.size() > set.size() && Contains(other, set);
    });
  };
  // Start counting at a second that is no stage, so no stage is cut in two.
  int start = -1;
  for (int s = 0; s < cycle && start < 0; ++s) {
    if (!isStage(sets[static_cast<std::size_t>(s)])) {
      start = s;
    }
  }
  if (start < 0) {
    return Error{
        Format("P%d hat keinen Phasenwechsel: die Phasenfolge muss angegeben werden", program)};
  }
  StageSequence sequence;
  const GroupSet* previous = nullptr;
  for (int k = 0; k < cycle; ++k) {
    const int s = (start + k) % cycle;
    const GroupSet& set = sets[static_cast<std::size_t>(s)];
    const bool stage = isStage(set);
    if (stage && (previous == nullptr || *previous != set)) {
      if (sequence.Stages.empty()) {
        sequence.FirstStageBegin = s == 0 ? cycle : s;
      }
      sequence.Stages.push_back(set);
    }
    previous = stage ? &set : nullptr;
  }
  if (sequence.Stages.size() < 2) {
    return Error{Format("P%d hat weniger als zwei Phasen", program)};
  }
  return sequence;
}

Result<StageSequence> ParseStages(std::string_view text, const ControllerDataSet& data,
                                  int program) {
  if (!ProgramUsable(data, program)) {
    return NoProgram(program);
  }
  const int groups = GroupsInUse(data);
  StageSequence sequence;
  GroupSet stage;
  std::string number;
  auto endNumber = [&]() -> std::optional<Error> {
    if (number.empty()) {
      return Error{"Phasenfolge \"" + std::string(text) + "\": eine Gruppennummer fehlt"};
    }
    const int group = number.size() <= 2 ? std::stoi(number) : 0;
    if (group < 1 || group > groups) {
      return Error{Format("Phasenfolge: G. %s gibt es nicht (1 bis %d)", number.c_str(), groups)};
    }
    stage.push_back(group - 1);
    number.clear();
    return std::nullopt;
  };
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : '/';
    if (c >= '0' && c <= '9') {
      number += c;
    } else if (c == ',' || c == '/') {
      if (auto failed = endNumber()) {
        return *failed;
      }
      if (c == '/') {
        std::sort(stage.begin(), stage.end());
        stage.erase(std::unique(stage.begin(), stage.end()), stage.end());
        sequence.Stages.push_back(stage);
        stage.clear();
      }
    } else if (c != ' ') {
      return Error{"Phasenfolge \"" + std::string(text) +
                   "\": erlaubt sind Gruppennummern, \",\" und \"/\""};
    }
  }
  if (sequence.Stages.size() < 2) {
    return Error{"Phasenfolge: mindestens zwei Phasen, getrennt durch \"/\""};
  }
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program - 1)];
  for (int s = 0; s < plan.CycleTime && sequence.FirstStageBegin == 0; ++s) {
    const GroupSet set = GreenSetAt(plan, groups, s);
    if (Contains(set, sequence.Stages.front())) {
      sequence.FirstStageBegin = s == 0 ? plan.CycleTime : s;
    }
  }
  if (sequence.FirstStageBegin == 0) {
    sequence.FirstStageBegin = 1;
  }
  return sequence;
}

Result<std::vector<GreenRun>> GreenRunsOf(const StageSequence& sequence,
                                          const ControllerDataSet& data, int program) {
  const int stages = static_cast<int>(sequence.Stages.size());
  const SignalProgram& plan = data.SignalPrograms[static_cast<std::size_t>(program - 1)];
  std::vector<GreenRun> runs;
  for (int g = 0; g < GroupsInUse(data); ++g) {
    std::vector<bool> in(static_cast<std::size_t>(stages));
    for (int i = 0; i < stages; ++i) {
      const GroupSet& stage = sequence.Stages[static_cast<std::size_t>(i)];
      in[static_cast<std::size_t>(i)] = std::binary_search(stage.begin(), stage.end(), g);
    }
    const auto count = std::count(in.begin(), in.end(), true);
    const bool hasGreen = plan.GreenBegin1[static_cast<std::size_t>(g)] != 0 ||
                          plan.GreenEnd1[static_cast<std::size_t>(g)] != 0;
    if (count == 0) {
      if (hasGreen) {
        return Error{Format("G. %d ist in P%d grün, aber in keiner Phase", g + 1, program)};
      }
      continue;
    }
    if (count == stages) {
      return Error{Format("G. %d ist in allen Phasen grün: kein Festzeitumlauf zu teilen", g + 1)};
    }
    std::vector<GreenRun> own;
    for (int i = 0; i < stages; ++i) {
      const bool starts = in[static_cast<std::size_t>(i)] &&
                          !in[static_cast<std::size_t>((i + stages - 1) % stages)];
      if (!starts) {
        continue;
      }
      int last = i;
      while (in[static_cast<std::size_t>((last + 1) % stages)]) {
        last = (last + 1) % stages;
      }
      own.push_back({g, i, last});
    }
    if (own.size() > 2) {
      return Error{
          Format("G. %d wäre in %zu getrennten Phasenfolgen grün; eine Gruppe hat "
                 "höchstens zwei Grünzeiten",
                 g + 1, own.size())};
    }
    runs.insert(runs.end(), own.begin(), own.end());
  }
  return runs;
}

}  // namespace ampelsim::optimise
