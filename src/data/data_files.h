#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ampelsim {

// The thirteen files of a data set, in the order in which they are loaded.
// ALL.DAT comes before ZWI.DAT because ZWI.DAT's decoding reads ProgramReleased.
enum class DataFile {
  All,
  Aus1,
  Aus2,
  Ein,
  Prog,
  Sch,
  Zwi,
  Kopf,
  Mit,
  Gsp,
  Melder,
  Pw,
  GrMinTab,
};

struct DataFileInfo {
  DataFile File;
  std::string_view Name;
  std::size_t Size;
};

inline constexpr std::array<DataFileInfo, 13> DataFiles = {{
    {DataFile::All, "ALL.DAT", 123},
    {DataFile::Aus1, "AUS1.DAT", 1368},
    {DataFile::Aus2, "AUS2.DAT", 1368},
    {DataFile::Ein, "EIN.DAT", 1368},
    {DataFile::Prog, "PROG.DAT", 17490},
    {DataFile::Sch, "SCH.DAT", 1120},
    {DataFile::Zwi, "ZWI.DAT", 17280},
    {DataFile::Kopf, "KOPF.DAT", 96},
    {DataFile::Mit, "MIT.DAT", 4032},
    {DataFile::Gsp, "GSP.DAT", 126},
    {DataFile::Melder, "MELDER.DAT", 144},
    {DataFile::Pw, "PW.DAT", 384},
    {DataFile::GrMinTab, "GRMINTAB.DAT", 576},
}};

constexpr const DataFileInfo& InfoOf(DataFile file) {
  return DataFiles[static_cast<std::size_t>(file)];
}

// The largest file fits this buffer; nothing larger is ever read.
inline constexpr std::size_t LoadBufferSize = 20000;

}  // namespace ampelsim
