#include "sumo/trip_summary.h"

#include <libxml/xmlreader.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

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

double Number(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  return end != text.c_str() && std::isfinite(value) ? value : 0.0;
}

std::string Decimal(double value) {
  std::array<char, 32> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.1f", value);
  std::string text(buffer.data());
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

}  // namespace

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

std::vector<GroupTripFigures> SummariseTrips(
    const std::vector<VehicleTrip>& trips,
    const std::function<int(const std::string& from, const std::string& to)>& groupOf) {
  std::array<std::vector<const VehicleTrip*>, MaxGroups> byGroup;
  for (const VehicleTrip& trip : trips) {
    const int group = groupOf(trip.DepartEdge, trip.ArrivalEdge);
    if (group >= 0 && group < MaxGroups) {
      byGroup[static_cast<std::size_t>(group)].push_back(&trip);
    }
  }
  std::vector<GroupTripFigures> figures;
  for (int g = 0; g < MaxGroups; ++g) {
    const auto& list = byGroup[static_cast<std::size_t>(g)];
    if (list.empty()) {
      continue;
    }
    GroupTripFigures f;
    f.Group = g;
    f.Vehicles = static_cast<int>(list.size());
    std::vector<double> waiting;
    double lost = 0.0;
    for (const VehicleTrip* trip : list) {
      waiting.push_back(trip->WaitingTime);
      lost += trip->TimeLoss;
    }
    std::sort(waiting.begin(), waiting.end());
    double sum = 0.0;
    for (double w : waiting) {
      sum += w;
    }
    f.MeanWaiting = sum / static_cast<double>(waiting.size());
    const auto rank =
        static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(waiting.size())));
    f.Waiting95 = waiting[std::max<std::size_t>(rank, 1) - 1];
    f.MeanTimeLoss = lost / static_cast<double>(list.size());
    figures.push_back(f);
  }
  return figures;
}

std::string TripSummaryText(const ControllerDataSet& data,
                            const std::vector<GroupTripFigures>& figures, int tripsWithoutGroup) {
  std::string text =
      "Signalgruppe    Fahrzeuge  Wartezeit Mittel  Wartezeit 95 %  Zeitverlust Mittel\n";
  std::array<char, 160> line{};
  for (const GroupTripFigures& f : figures) {
    const std::int32_t head = data.HeadNumbers[static_cast<std::size_t>(f.Group)];
    std::string name = "G. " + std::to_string(f.Group + 1);
    if (head > 0) {
      name += " (Kopf " + std::to_string(head) + ")";
    }
    std::snprintf(line.data(), line.size(), "%-15s %9d %14s s %12s s %16s s\n", name.c_str(),
                  f.Vehicles, Decimal(f.MeanWaiting).c_str(), Decimal(f.Waiting95).c_str(),
                  Decimal(f.MeanTimeLoss).c_str());
    text += line.data();
  }
  if (tripsWithoutGroup > 0) {
    text += "Fahrten ohne signalisierte Fahrbeziehung: " + std::to_string(tripsWithoutGroup) + "\n";
  }
  return text;
}

}  // namespace ampelsim
