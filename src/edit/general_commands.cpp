#include "edit/general_commands.h"

#include "data/text_format.h"
#include "data/windows1252.h"
#include "edit/edit_checks.h"

namespace ampelsim::edit {

std::string SetProgramReleased::Name() const {
  return Format(released_ ? "P%d freigegeben" : "Freigabe von P%d aufgehoben", program_);
}

Result<std::string> SetProgramReleased::Apply(ControllerDataSet& data) const {
  if (released_) {
    if (auto refusal = DefinedProgramRefusal(data, program_)) {
      return *refusal;
    }
  } else if (auto refusal = ProgramRefusal(program_)) {
    return *refusal;
  }
  data.GeneralData.ProgramReleased[Index(program_)] = released_ ? 1 : 0;
  return std::string();
}

std::string SetEmergencyProgram::Name() const {
  if (program_ == DarkProgram) {
    return "Notprogramm: dunkel";
  }
  if (program_ == FlashingProgram) {
    return "Notprogramm: Gelbblinken";
  }
  return Format("Notprogramm P%d", program_);
}

Result<std::string> SetEmergencyProgram::Apply(ControllerDataSet& data) const {
  if (auto refusal = RangeRefusal("Notprogramm", program_, 1, FlashingProgram)) {
    return *refusal;
  }
  if (program_ <= ProgramCount) {
    if (auto refusal = DefinedProgramRefusal(data, program_)) {
      return *refusal;
    }
  }
  data.GeneralData.EmergencyProgram = program_;
  return std::string();
}

namespace {

const char* LabelOf(SiteText which) {
  switch (which) {
    case SiteText::Line1:
      return "Standorttext 1";
    case SiteText::Line2:
      return "Standorttext 2";
    case SiteText::Client:
      break;
  }
  return "Auftraggeber";
}

Text32& FieldOf(GeneralDataRecord& general, SiteText which) {
  switch (which) {
    case SiteText::Line1:
      return general.SiteText1;
    case SiteText::Line2:
      return general.SiteText2;
    case SiteText::Client:
      break;
  }
  return general.ClientText;
}

}  // namespace

std::string SetSiteText::Name() const {
  return Format("%s geändert", LabelOf(which_));
}

std::string SetSiteText::MergeKey() const {
  return Format("site-text %d", static_cast<int>(which_));
}

// The same texts as the JSON form of the data set accepts.
Result<std::string> SetSiteText::Apply(ControllerDataSet& data) const {
  const auto converted = Utf8ToWindows1252(text_);
  if (!converted) {
    return Error{Format("%s hat ein Zeichen, das Windows-1252 nicht kennt", LabelOf(which_))};
  }
  if (converted->size() > TextLength) {
    return Error{Format("%s ist länger als %d Zeichen", LabelOf(which_), TextLength)};
  }
  Text32& field = FieldOf(data.GeneralData, which_);
  // An unchanged text keeps its stored bytes, so its file stays byte for byte.
  if (field.Str() != *converted) {
    field = Text32::FromString(*converted);
  }
  return std::string();
}

}  // namespace ampelsim::edit
