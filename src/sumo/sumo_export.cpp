#include "sumo/sumo_export.h"

#include <libxml/xmlwriter.h>

#include <algorithm>
#include <memory>

#include "engine/program_selection.h"
#include "engine/state_at.h"

namespace ampelsim {
namespace {

constexpr std::int64_t SecondsPerDay = 86400;
constexpr std::int64_t SecondsPerWeek = 7 * SecondsPerDay;
// Flashing and dark hold one state; SUMO wants a phase of some length.
constexpr int SteadyPhaseSeconds = 60;

std::string ProgramId(int program) {
  return "P" + std::to_string(program);
}

bool Exported(const ControllerDataSet& data, int program) {
  if (program < 1 || program > ProgramCount) {
    return false;
  }
  const std::int32_t cycle = data.SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime;
  if (cycle <= 0 || cycle > MaxExportedCycle) {
    return false;
  }
  return IsProgramUsable(data, program) || data.GeneralData.EmergencyProgram == program;
}

// What the controller runs for a switching target: the program itself when
// usable, else the emergency program, as the program selection does.
std::string RunProgramId(const ControllerDataSet& data, std::int32_t target) {
  if (target == DarkProgram) {
    return "Dunkel";
  }
  if (target >= FlashingProgram) {
    return "Blinken";
  }
  if (Exported(data, target) && IsProgramUsable(data, target)) {
    return ProgramId(target);
  }
  const std::int32_t emergency = data.GeneralData.EmergencyProgram;
  if (emergency == DarkProgram) {
    return "Dunkel";
  }
  if (Exported(data, emergency)) {
    return ProgramId(emergency);
  }
  return "Blinken";
}

SumoProgram SteadyProgram(const ControllerDataSet& data, const SumoMapping& mapping,
                          bool flashing) {
  GroupStates states{};
  if (flashing) {
    // The flashing program flashes the groups that program 1 marks, as the
    // controller does.
    const int groups = GroupsInUse(data);
    for (int g = 0; g < groups; ++g) {
      if (data.SignalPrograms[0].StandbyFlash[static_cast<std::size_t>(g)] != 0) {
        states[static_cast<std::size_t>(g)] = YellowFlashing;
      }
    }
  }
  return {flashing ? "Blinken" : "Dunkel",
          {{SteadyPhaseSeconds, SumoStateString(mapping, states), 0}}};
}

struct WriterDeleter {
  void operator()(xmlTextWriter* writer) const { xmlFreeTextWriter(writer); }
};
struct BufferDeleter {
  void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

const xmlChar* X(const char* text) {
  return reinterpret_cast<const xmlChar*>(text);
}

class Writer {
 public:
  Writer() : buffer_(xmlBufferCreate()) {
    if (buffer_) {
      writer_.reset(xmlNewTextWriterMemory(buffer_.get(), 0));
    }
    ok_ = writer_ != nullptr && xmlTextWriterSetIndent(writer_.get(), 1) >= 0 &&
          xmlTextWriterSetIndentString(writer_.get(), X("    ")) >= 0 &&
          xmlTextWriterStartDocument(writer_.get(), nullptr, "UTF-8", nullptr) >= 0;
  }
  void Comment(const std::string& text) {
    Check(xmlTextWriterWriteComment(writer_.get(), X(text.c_str())));
  }
  void Start(const char* name) { Check(xmlTextWriterStartElement(writer_.get(), X(name))); }
  void Attribute(const char* name, const std::string& value) {
    Check(xmlTextWriterWriteAttribute(writer_.get(), X(name), X(value.c_str())));
  }
  void End() { Check(xmlTextWriterEndElement(writer_.get())); }
  std::string Finish() {
    Check(xmlTextWriterEndDocument(writer_.get()));
    writer_.reset();
    if (!ok_) {
      return {};
    }
    return reinterpret_cast<const char*>(xmlBufferContent(buffer_.get()));
  }

 private:
  void Check(int result) {
    if (ok_ && result < 0) {
      ok_ = false;
    }
  }
  std::unique_ptr<xmlBuffer, BufferDeleter> buffer_;
  std::unique_ptr<xmlTextWriter, WriterDeleter> writer_;
  bool ok_ = false;
};

}  // namespace

SumoProgram PlannedSumoProgram(const ControllerDataSet& data, const SumoMapping& mapping,
                               int program) {
  SumoProgram result{ProgramId(program), {}};
  if (program < 1 || program > ProgramCount) {
    return result;
  }
  const std::int32_t cycle = data.SignalPrograms[static_cast<std::size_t>(program - 1)].CycleTime;
  if (cycle <= 0 || cycle > MaxExportedCycle) {
    return result;
  }
  for (int t = 0; t < cycle; ++t) {
    GroupStates states{};
    for (int g = 0; g < MaxGroups; ++g) {
      states[static_cast<std::size_t>(g)] = StateAt(data, program - 1, g, t);
    }
    std::string state = SumoStateString(mapping, states);
    if (!result.Phases.empty() && result.Phases.back().State == state) {
      ++result.Phases.back().Duration;
    } else {
      result.Phases.push_back({1, std::move(state), t});
    }
  }
  return result;
}

std::vector<SumoProgram> ExportedSumoPrograms(const ControllerDataSet& data,
                                              const SumoMapping& mapping) {
  std::vector<SumoProgram> programs;
  for (int p = 1; p <= ProgramCount; ++p) {
    if (Exported(data, p)) {
      programs.push_back(PlannedSumoProgram(data, mapping, p));
    }
  }
  programs.push_back(SteadyProgram(data, mapping, true));
  programs.push_back(SteadyProgram(data, mapping, false));
  return programs;
}

std::vector<SumoProgramSwitch> WeeklySumoSwitches(const ControllerDataSet& data) {
  std::vector<SumoProgramSwitch> switches;
  for (int day = 0; day < WeekdayCount; ++day) {
    for (int minute = 0; minute < 24 * 60; ++minute) {
      std::string program = RunProgramId(data, ClockProgram(data.SwitchingPoints, day, minute));
      if (switches.empty() || switches.back().Program != program) {
        switches.push_back({day * SecondsPerDay + minute * 60, std::move(program)});
      }
    }
  }
  return switches;
}

std::string SumoAdditionalXml(const ControllerDataSet& data, const SumoMapping& mapping,
                              const std::string& tlsId) {
  Writer xml;
  xml.Start("additional");
  xml.Comment(" Festzeitprogramme aus dem Signalzeitenplan des Steuergeräts (ampelsim) ");
  for (const SumoProgram& program : ExportedSumoPrograms(data, mapping)) {
    xml.Start("tlLogic");
    xml.Attribute("id", tlsId);
    xml.Attribute("type", "static");
    xml.Attribute("programID", program.Id);
    xml.Attribute("offset", "0");
    for (const SumoPhase& phase : program.Phases) {
      xml.Start("phase");
      xml.Attribute("duration", std::to_string(phase.Duration));
      xml.Attribute("state", phase.State);
      if (program.Id[0] == 'P') {
        xml.Attribute("name", "TX " + std::to_string(phase.FirstTimePoint));
      }
      xml.End();
    }
    xml.End();
  }
  const std::vector<SumoProgramSwitch> switches = WeeklySumoSwitches(data);
  xml.Comment(" Wochenautomatik: Sekunde 0 ist Montag 00:00 ");
  xml.Start("WAUT");
  xml.Attribute("id", "Wochenplan");
  xml.Attribute("refTime", "0");
  xml.Attribute("period", std::to_string(SecondsPerWeek));
  xml.Attribute("startProg", switches.front().Program);
  for (std::size_t i = 1; i < switches.size(); ++i) {
    xml.Start("wautSwitch");
    xml.Attribute("time", std::to_string(switches[i].Second));
    xml.Attribute("to", switches[i].Program);
    xml.End();
  }
  xml.End();
  xml.Start("wautJunction");
  xml.Attribute("wautID", "Wochenplan");
  xml.Attribute("junctionID", tlsId);
  xml.End();
  xml.End();
  return xml.Finish();
}

}  // namespace ampelsim
