// Writes the seed corpus of every fuzz target from a built demo junction and
// the seed scripts. Run again whenever an input layout changes.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "data/data_files.h"
#include "data_image.h"
#include "engine/fault_store.h"
#include "scratch_directory.h"
#include "simulation_input.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using ampelsim::fuzz::DataImage;

void Save(const fs::path& directory, const std::string& name, const Bytes& bytes) {
  fs::create_directories(directory);
  std::ofstream file(directory / name, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void Append16(Bytes& bytes, std::size_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

std::string Slug(std::string_view name) {
  std::string slug(name);
  std::transform(slug.begin(), slug.end(), slug.begin(), [](unsigned char c) {
    return c == '.' ? '_' : static_cast<char>(std::tolower(c));
  });
  return slug;
}

// A store with faults of several kinds, as the engine would have written it.
Bytes FaultStoreImage(const fs::path& scratch) {
  ampelsim::FaultStore store(scratch / "DATEN.STO");
  store.RecordFault(ampelsim::RedLampDefective, 1, 40, "04.03.24", "08:15:02", 1, 0);
  store.RecordFault(ampelsim::HostileGreen, 2, 12, "04.03.24", "19:01:40", 3, 2);
  store.RecordFault(ampelsim::IntergreenViolation, 2, 61, "05.03.24", "07:00:09", 9, 4);
  const auto image = store.Image();
  return Bytes(image.begin(), image.end());
}

void WriteDecoderSeeds(const DataImage& demo, const Bytes& store, const fs::path& corpus) {
  const fs::path out = corpus / "decoders";
  for (std::size_t f = 0; f < demo.size(); ++f) {
    Bytes seed{static_cast<std::uint8_t>(f)};
    seed.insert(seed.end(), demo[f].begin(), demo[f].end());
    Save(out, Slug(ampelsim::DataFiles[f].Name), seed);
  }
  // ZWI.DAT decodes differently with the fallback kept and all released.
  const std::size_t zwi = static_cast<std::size_t>(ampelsim::DataFile::Zwi);
  Bytes seed{static_cast<std::uint8_t>(zwi | 0xC0)};
  seed.insert(seed.end(), demo[zwi].begin(), demo[zwi].end());
  Save(out, "zwi_dat_keep_released", seed);
  seed = Bytes{static_cast<std::uint8_t>(ampelsim::DataFiles.size())};
  seed.insert(seed.end(), store.begin(), store.end());
  Save(out, "daten_sto", seed);
}

enum class Entry { Exact, Sized, Missing, Directory };

void AppendEntry(Bytes& seed, Entry entry, const Bytes& bytes, std::size_t size) {
  seed.push_back(static_cast<std::uint8_t>(entry));
  if (entry == Entry::Exact) {
    const Bytes runs = ampelsim::fuzz::WriteSparseBytes(bytes);
    Append16(seed, runs.size());
    seed.insert(seed.end(), runs.begin(), runs.end());
  } else if (entry == Entry::Sized) {
    Append16(seed, size);
    const std::size_t copied = std::min(size, bytes.size());
    seed.insert(seed.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(copied));
    seed.insert(seed.end(), size - copied, 0);
  }
}

void WriteLoaderSeeds(const DataImage& demo, const fs::path& corpus) {
  using ampelsim::DataFile;
  const auto index = [](DataFile file) { return static_cast<std::size_t>(file); };
  Bytes whole{0};
  for (const auto& bytes : demo) {
    AppendEntry(whole, Entry::Exact, bytes, 0);
  }
  Save(corpus / "loader", "demo", whole);
  // Each kind of damage once: short, one byte long, missing, a directory.
  Bytes damaged{1};
  for (std::size_t f = 0; f < demo.size(); ++f) {
    if (f == index(DataFile::All)) {
      AppendEntry(damaged, Entry::Sized, demo[f], 100);
    } else if (f == index(DataFile::Gsp)) {
      AppendEntry(damaged, Entry::Sized, demo[f], demo[f].size() + 1);
    } else if (f == index(DataFile::Prog)) {
      AppendEntry(damaged, Entry::Missing, demo[f], 0);
    } else if (f == index(DataFile::Kopf)) {
      AppendEntry(damaged, Entry::Directory, demo[f], 0);
    } else {
      AppendEntry(damaged, Entry::Exact, demo[f], 0);
    }
  }
  Save(corpus / "loader", "damaged", damaged);
}

void WriteReportSeeds(const DataImage& demo, const Bytes& store, const fs::path& corpus) {
  Bytes seed{1};
  Append16(seed, 8 * 60);  // Monday 08:00
  const std::string directory =
      "/home/verkehr/Kreuzung Hauptstra\xDF"
      "e";
  seed.push_back(static_cast<std::uint8_t>(directory.size()));
  seed.insert(seed.end(), directory.begin(), directory.end());
  seed.push_back(static_cast<std::uint8_t>(store.size()));
  seed.insert(seed.end(), store.begin(), store.end());
  const Bytes runs = ampelsim::fuzz::WriteSparseImage(demo);
  Append16(seed, runs.size());
  seed.insert(seed.end(), runs.begin(), runs.end());
  // A few StateAt questions: program, group, time point (u16 low, u16 high).
  const std::uint8_t questions[][6] = {{0, 0, 10, 0, 0, 0},
                                       {1, 2, 61, 0, 0, 0},
                                       {5, 23, 0xFF, 0xFF, 0xFF, 0x7F},
                                       {0xFF, 3, 5, 0, 0, 0}};
  for (const auto& question : questions) {
    seed.insert(seed.end(), std::begin(question), std::end(question));
  }
  Save(corpus / "reports", "demo", seed);
}

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteSimulationSeeds(const DataImage& demo, const fs::path& scripts, const fs::path& corpus) {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::directory_iterator(scripts)) {
    paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  for (const auto& path : paths) {
    auto parsed = ampelsim::ParseScenario(ReadText(path));
    if (!parsed) {
      throw std::runtime_error(path.string() + ", line " + std::to_string(parsed.Failure().Line) +
                               ": " + parsed.Failure().Message);
    }
    ampelsim::fuzz::SimulationInput input;
    input.OutputsForced = true;
    input.RecordActualPlan = true;
    input.Image = demo;
    input.Events = std::move(parsed).Value();
    input.StartMinuteOfWeek = 8 * 60;  // Monday 08:00: P1 by the weekly plan
    const std::int64_t last = input.Events.Events.empty() ? 0 : input.Events.Events.back().Tick;
    input.Ticks = std::min(ampelsim::fuzz::SimulationInput::MaxTicks, last + 1200);
    // "load Demo" in a script is the run's own data directory.
    Save(corpus / "simulation", path.stem().string(),
         ampelsim::fuzz::WriteSimulationInput(input, "Demo"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: fuzz_corpus_writer DEMO_DIR SCRIPT_DIR CORPUS_DIR\n";
    return 2;
  }
  try {
    const DataImage demo = ampelsim::fuzz::ReadDataImage(argv[1]);
    if (demo[0] == ampelsim::fuzz::ZeroImage()[0]) {
      throw std::runtime_error(std::string("no data set in ") + argv[1]);
    }
    const ampelsim::fuzz::ScratchDirectory scratch;
    const Bytes store = FaultStoreImage(scratch.Path());
    const fs::path corpus = argv[3];
    WriteDecoderSeeds(demo, store, corpus);
    WriteLoaderSeeds(demo, corpus);
    WriteReportSeeds(demo, store, corpus);
    WriteSimulationSeeds(demo, argv[2], corpus);
  } catch (const std::exception& error) {
    std::cerr << "fuzz_corpus_writer: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
