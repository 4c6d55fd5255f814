#include "sumo/vehicle_accounting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace ampelsim {
namespace {

struct Vehicle {
  int Group = -1;
  bool Passed = false;
  const VehicleTrip* Trip = nullptr;
};

// The group of the route's movement and whether the vehicle left its approach.
Vehicle Place(const std::vector<std::string>& edges, const std::vector<double>& exitTimes,
              const MovementGroupOf& groupOf) {
  Vehicle vehicle;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const int group = groupOf(edges[i], edges[i + 1]);
    if (group >= 0 && group < MaxGroups) {
      vehicle.Group = group;
      vehicle.Passed = i < exitTimes.size() && exitTimes[i] >= 0.0;
      return vehicle;
    }
  }
  return vehicle;
}

GroupVehicleAccount Account(int group, const std::vector<Vehicle>& vehicles) {
  GroupVehicleAccount account;
  account.Group = group;
  double delay = 0.0;
  double lost = 0.0;
  std::vector<double> waiting;
  for (const Vehicle& vehicle : vehicles) {
    const VehicleTrip& trip = *vehicle.Trip;
    ++account.Loaded;
    if (trip.Depart < 0.0) {
      ++account.NeverInserted;
      continue;
    }
    ++account.Inserted;
    delay += trip.DepartDelay;
    ++(trip.Arrival >= 0.0 ? account.Arrived : account.InNetwork);
    if (vehicle.Passed) {
      ++account.PassedStopLine;
      waiting.push_back(trip.WaitingTime);
      lost += trip.TimeLoss;
    }
  }
  if (account.Inserted > 0) {
    account.MeanInsertionDelay = delay / account.Inserted;
  }
  if (!waiting.empty()) {
    std::sort(waiting.begin(), waiting.end());
    double sum = 0.0;
    for (const double w : waiting) {
      sum += w;
    }
    const auto n = static_cast<double>(waiting.size());
    account.MeanWaiting = sum / n;
    const auto rank = static_cast<std::size_t>(std::ceil(0.95 * n));
    account.Waiting95 = waiting[std::max<std::size_t>(rank, 1) - 1];
    account.MeanTimeLoss = lost / n;
  }
  return account;
}

std::string Decimal(double value) {
  std::array<char, 32> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.1f", value);
  std::string text(buffer.data());
  std::replace(text.begin(), text.end(), '.', ',');
  return text;
}

std::string GroupName(const ControllerDataSet& data, int group) {
  if (group < 0) {
    return "zusammen";
  }
  const std::int32_t head = data.HeadNumbers[static_cast<std::size_t>(group)];
  std::string name = "G. " + std::to_string(group + 1);
  if (head > 0) {
    name += " (Kopf " + std::to_string(head) + ")";
  }
  return name;
}

}  // namespace

VehicleAccounts AccountVehicles(const std::vector<VehicleTrip>& trips,
                                const std::vector<VehicleRoute>& routes,
                                const std::map<std::string, std::vector<std::string>>& undeparted,
                                const MovementGroupOf& groupOf) {
  std::map<std::string, const VehicleRoute*> routeOf;
  for (const VehicleRoute& route : routes) {
    routeOf[route.Id] = &route;
  }
  std::array<std::vector<Vehicle>, MaxGroups> byGroup;
  std::vector<Vehicle> all;
  VehicleAccounts accounts;
  for (const VehicleTrip& trip : trips) {
    Vehicle vehicle;
    if (const auto found = routeOf.find(trip.Id); found != routeOf.end()) {
      vehicle = Place(found->second->Edges, found->second->ExitTimes, groupOf);
    } else if (const auto waiting = undeparted.find(trip.Id); waiting != undeparted.end()) {
      vehicle = Place(waiting->second, {}, groupOf);
    }
    vehicle.Trip = &trip;
    if (vehicle.Group < 0) {
      ++accounts.WithoutGroup;
      continue;
    }
    byGroup[static_cast<std::size_t>(vehicle.Group)].push_back(vehicle);
    all.push_back(vehicle);
  }
  for (int g = 0; g < MaxGroups; ++g) {
    const auto& vehicles = byGroup[static_cast<std::size_t>(g)];
    if (!vehicles.empty()) {
      accounts.Groups.push_back(Account(g, vehicles));
    }
  }
  accounts.Total = Account(-1, all);
  return accounts;
}

std::string VehicleAccountsText(const ControllerDataSet& data, const VehicleAccounts& accounts) {
  std::string text =
      "Signalgruppe     geladen eingesetzt über Haltlinie  am Ziel  im Netz  nie eingesetzt\n";
  std::array<char, 200> line{};
  std::vector<const GroupVehicleAccount*> rows;
  for (const GroupVehicleAccount& account : accounts.Groups) {
    rows.push_back(&account);
  }
  rows.push_back(&accounts.Total);
  for (const GroupVehicleAccount* a : rows) {
    std::snprintf(line.data(), line.size(), "%-15s %8d %10d %14d %8d %8d %15d\n",
                  GroupName(data, a->Group).c_str(), a->Loaded, a->Inserted, a->PassedStopLine,
                  a->Arrived, a->InNetwork, a->NeverInserted);
    text += line.data();
  }
  text += "\nSignalgruppe    Einsetzverzug  Wartezeit Mittel  Wartezeit 95 %  Zeitverlust Mittel\n";
  for (const GroupVehicleAccount* a : rows) {
    std::snprintf(line.data(), line.size(), "%-15s %11s s %14s s %12s s %16s s\n",
                  GroupName(data, a->Group).c_str(), Decimal(a->MeanInsertionDelay).c_str(),
                  Decimal(a->MeanWaiting).c_str(), Decimal(a->Waiting95).c_str(),
                  Decimal(a->MeanTimeLoss).c_str());
    text += line.data();
  }
  text +=
      "Einsetzverzug: Mittel der eingesetzten Fahrzeuge; Wartezeit und Zeitverlust: Mittel der\n"
      "Fahrzeuge über der Haltlinie bis zum Ziel oder zum Ende des Laufs.\n";
  if (accounts.WithoutGroup > 0) {
    text += "Fahrzeuge ohne signalisierte Fahrbeziehung: " + std::to_string(accounts.WithoutGroup) +
            "\n";
  }
  for (const GroupVehicleAccount& a : accounts.Groups) {
    const int notThrough = a.Loaded - a.PassedStopLine;
    if (a.Loaded > 0 && notThrough > NotThroughWarningShare * a.Loaded) {
      text += "Warnung: " + GroupName(data, a.Group) + ": " + std::to_string(notThrough) + " von " +
              std::to_string(a.Loaded) + " Fahrzeugen (" + Decimal(100.0 * notThrough / a.Loaded) +
              " %) nicht über die Haltlinie";
      if (a.NeverInserted > 0) {
        text += ", " + std::to_string(a.NeverInserted) + " nie ins Netz";
      }
      text += "\n";
    }
    if (!a.QueueAtStartOf.empty()) {
      text += "Warnung: " + GroupName(data, a.Group) +
              ": der Rückstau reichte bis an den Anfang der Zufahrt " + a.QueueAtStartOf + "\n";
    }
  }
  return text;
}

}  // namespace ampelsim
