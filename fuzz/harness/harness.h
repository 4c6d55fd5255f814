#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace ampelsim::fuzz {

// One input of each fuzz target. Any byte sequence is a valid input; a crash,
// a sanitizer report or a broken property (check.h) is a finding. The tests
// replay the seed corpus and every past finding through the same functions.

// One data file decoder, or the fault store decoder: u8 selector, then the
// file's bytes of any size.
void FuzzDecoders(std::span<const std::uint8_t> input);

// The loader on a directory of thirteen entries of any size or kind.
void FuzzLoader(std::span<const std::uint8_t> input, const std::filesystem::path& scratch);

// The scenario script parser on any text.
void FuzzScenario(std::span<const std::uint8_t> input);

// Every report and StateAt on a loaded data set and fault store of any content.
void FuzzReports(std::span<const std::uint8_t> input, const std::filesystem::path& scratch);

// The whole simulation on any data set, driven by scenario events for a
// bounded number of ticks (simulation_input.h).
void FuzzSimulation(std::span<const std::uint8_t> input, const std::filesystem::path& scratch);

// The description of a new junction on any text: read, generated and verified; a
// junction generated from an accepted description verifies without Fehler.
void FuzzJunctionSpec(std::span<const std::uint8_t> input);

// The geometry of the intergreen calculation on any text: read, and for an
// accepted one the required intergreens of a small and a full junction.
void FuzzIntergreenGeometry(std::span<const std::uint8_t> input);
// A SUMO network file, imported for the intergreen calculation.
void FuzzSumoNetwork(std::span<const std::uint8_t> input);

// The traffic file on any text: read, and an accepted one drives five minutes
// of generated traffic at a two-stage junction and its statistics.
void FuzzTrafficFile(std::span<const std::uint8_t> input);
// The mapping of SUMO links, loops and crossings to signal groups on any
// text: u8 group count of the data set, u8 seed of the group states, then the
// JSON text (only where the SUMO library is built).
void FuzzSumoMapping(std::span<const std::uint8_t> input);

// The JSON reader of `ampelsim-cli build` on any text (only where the command
// line tool is built: the reader lives there).
void FuzzDataSetJson(std::span<const std::uint8_t> input);

// The changes of `ampelsim-cli edit` on the demo junction: a JSON Patch, then
// after a line "---" one shortcut a line ("set P2.G3.Gruen1=12-40",
// "cycle P2=80", "intergreen P1:1:3=6"; only where the command line tool is
// built).
void FuzzEditPatch(std::span<const std::uint8_t> input);

// The stage sequence of `ampelsim-cli optimise --stages` on the demo
// junction: u8 program (mod 6, plus 1), then the text ("1,2,8,9/2,5/3,4,6,7");
// an accepted one is planned by Webster for the demo's peak (only where the
// command line tool is built).
void FuzzStages(std::span<const std::uint8_t> input);

}  // namespace ampelsim::fuzz
