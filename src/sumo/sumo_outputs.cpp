#include "sumo/sumo_outputs.h"

#include <libxml/xmlreader.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "sumo/sumo_coupling.h"

namespace ampelsim {
namespace {

struct ReaderDeleter {
  void operator()(xmlTextReader* reader) const { xmlFreeTextReader(reader); }
};

std::string Attribute(xmlTextReader* reader, const char* name) {
  xmlChar* value = xmlTextReaderGetAttribute(reader, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) {
    return {};
  }
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

double Number(const std::string& text, double otherwise = 0.0) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  return end != text.c_str() && std::isfinite(value) ? value : otherwise;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream stream(text);
  for (std::string word; stream >> word;) {
    words.push_back(std::move(word));
  }
  return words;
}

using Reader = std::unique_ptr<xmlTextReader, ReaderDeleter>;

// Calls `element(name)` for every element of an XML file; false when the
// file cannot be read to its end.
template <class Visit>
bool VisitElements(const std::string& path, Reader& reader, Visit element) {
  reader.reset(xmlReaderForFile(path.c_str(), nullptr, XML_PARSE_NONET));
  if (!reader) {
    return false;
  }
  int status = 0;
  while ((status = xmlTextReaderRead(reader.get())) == 1) {
    if (xmlTextReaderNodeType(reader.get()) != XML_READER_TYPE_ELEMENT) {
      continue;
    }
    const auto* name = reinterpret_cast<const char*>(xmlTextReaderConstName(reader.get()));
    if (name != nullptr) {
      element(std::string(name));
    }
  }
  return status == 0;
}

int Count(xmlTextReader* reader, const char* name) {
  return static_cast<int>(std::lround(Number(Attribute(reader, name))));
}

}  // namespace

std::optional<std::vector<VehicleRoute>> ReadVehicleRoutes(const std::string& path) {
  Reader reader;
  std::vector<VehicleRoute> routes;
  const bool read = VisitElements(path, reader, [&](const std::string& name) {
    if (name == "vehicle") {
      routes.push_back({Attribute(reader.get(), "id"), {}, {}});
    } else if (name == "route" && !routes.empty()) {
      // A vehicle that was rerouted lists its earlier routes first.
      VehicleRoute& route = routes.back();
      route.Edges = Words(Attribute(reader.get(), "edges"));
      route.ExitTimes.clear();
      for (const std::string& time : Words(Attribute(reader.get(), "exitTimes"))) {
        route.ExitTimes.push_back(Number(time, -1.0));
      }
    }
  });
  if (!read) {
    return std::nullopt;
  }
  return routes;
}

std::optional<SumoStatistics> ReadSumoStatistics(const std::string& path) {
  Reader reader;
  SumoStatistics statistics;
  bool seen = false;
  const bool read = VisitElements(path, reader, [&](const std::string& name) {
    xmlTextReader* r = reader.get();
    if (name == "vehicles") {
      seen = true;
      statistics.Loaded = Count(r, "loaded");
      statistics.Inserted = Count(r, "inserted");
      statistics.Running = Count(r, "running");
      statistics.Waiting = Count(r, "waiting");
    } else if (name == "teleports") {
      statistics.Teleports = Count(r, "total");
    } else if (name == "safety") {
      statistics.Collisions = Count(r, "collisions");
      statistics.EmergencyStops = Count(r, "emergencyStops");
    }
  });
  if (!read || !seen) {
    return std::nullopt;
  }
  return statistics;
}

std::optional<int> CountEmergencyBrakings(const std::string& path) {
  std::ifstream file(path);
  if (!file.is_open()) {
    return std::nullopt;
  }
  int count = 0;
  for (std::string line; std::getline(file, line);) {
    count += line.find("performs emergency braking") != std::string::npos ? 1 : 0;
  }
  return count;
}

std::optional<std::vector<VehicleTrip>> ReadTripInfo(const std::string& path) {
  std::unique_ptr<xmlTextReader, ReaderDeleter> reader(
      xmlReaderForFile(path.c_str(), nullptr, XML_PARSE_NONET));
  if (!reader) {
    return std::nullopt;
  }
  std::vector<VehicleTrip> trips;
  int status = 0;
  while ((status = xmlTextReaderRead(reader.get())) == 1) {
    if (xmlTextReaderNodeType(reader.get()) != XML_READER_TYPE_ELEMENT) {
      continue;
    }
    const auto* name = reinterpret_cast<const char*>(xmlTextReaderConstName(reader.get()));
    if (name == nullptr || std::string(name) != "tripinfo") {
      continue;
    }
    VehicleTrip trip;
    trip.Id = Attribute(reader.get(), "id");
    trip.Depart = Number(Attribute(reader.get(), "depart"), -1.0);
    trip.Arrival = Number(Attribute(reader.get(), "arrival"), -1.0);
    trip.DepartDelay = Number(Attribute(reader.get(), "departDelay"));
    trip.DepartEdge = LaneEdge(Attribute(reader.get(), "departLane"));
    trip.ArrivalEdge = LaneEdge(Attribute(reader.get(), "arrivalLane"));
    trip.WaitingTime = Number(Attribute(reader.get(), "waitingTime"));
    trip.TimeLoss = Number(Attribute(reader.get(), "timeLoss"));
    trips.push_back(std::move(trip));
  }
  if (status != 0) {
    return std::nullopt;
  }
  return trips;
}

}  // namespace ampelsim
