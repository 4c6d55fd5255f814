#include "sumo/junction_link_paths.h"

#include <libxml/xmlreader.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

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

std::vector<PlanePoint> ParseShape(const std::string& text) {
  std::vector<PlanePoint> shape;
  std::istringstream points(text);
  std::string pair;
  while (points >> pair) {
    const auto comma = pair.find(',');
    if (comma == std::string::npos) {
      continue;
    }
    char* end = nullptr;
    const double x = std::strtod(pair.c_str(), &end);
    const double y = std::strtod(pair.c_str() + comma + 1, &end);
    if (std::isfinite(x) && std::isfinite(y)) {
      shape.push_back({x, y});
    }
  }
  return shape;
}

struct Lane {
  std::vector<PlanePoint> Shape;
  std::string Allow;
};

struct Connection {
  std::string From;
  std::string To;
  std::string FromLane;
  std::string ToLane;
  std::string Via;
  std::string TrafficLight;
  int LinkIndex = -1;
  std::string Direction;
};

struct Network {
  std::map<std::string, Lane> Lanes;
  std::set<std::string> CrossingEdges;
  std::vector<Connection> Connections;
};

void ReadElement(xmlTextReader* reader, const std::string& name, std::string& edge, Network& net) {
  if (name == "edge") {
    edge = Attribute(reader, "id");
    if (Attribute(reader, "function") == "crossing") {
      net.CrossingEdges.insert(edge);
    }
  } else if (name == "lane") {
    net.Lanes[Attribute(reader, "id")] = {ParseShape(Attribute(reader, "shape")),
                                          Attribute(reader, "allow")};
  } else if (name == "connection") {
    Connection c{Attribute(reader, "from"),
                 Attribute(reader, "to"),
                 Attribute(reader, "fromLane"),
                 Attribute(reader, "toLane"),
                 Attribute(reader, "via"),
                 Attribute(reader, "tl"),
                 -1,
                 Attribute(reader, "dir")};
    const std::string index = Attribute(reader, "linkIndex");
    if (!index.empty()) {
      char* end = nullptr;
      const long value = std::strtol(index.c_str(), &end, 10);
      if (*end == '\0' && value >= 0 && value < 100000) {
        c.LinkIndex = static_cast<int>(value);
      }
    }
    net.Connections.push_back(std::move(c));
  }
}

std::optional<Network> ReadNetwork(const std::string& path) {
  std::unique_ptr<xmlTextReader, ReaderDeleter> reader(
      xmlReaderForFile(path.c_str(), nullptr, XML_PARSE_NONET));
  if (!reader) {
    return std::nullopt;
  }
  Network net;
  std::string edge;
  int status = 0;
  while ((status = xmlTextReaderRead(reader.get())) == 1) {
    if (xmlTextReaderNodeType(reader.get()) != XML_READER_TYPE_ELEMENT) {
      continue;
    }
    const auto* name = reinterpret_cast<const char*>(xmlTextReaderConstName(reader.get()));
    if (name != nullptr) {
      ReadElement(reader.get(), name, edge, net);
    }
  }
  if (status != 0) {
    return std::nullopt;
  }
  return net;
}

// "E2C_1" -> "E2C"; lane ids are the edge id, '_' and the index.
std::string EdgeOfLane(const std::string& lane) {
  const auto underscore = lane.rfind('_');
  return underscore == std::string::npos ? lane : lane.substr(0, underscore);
}

LinkUser UserOf(const Connection& link, const Network& net) {
  if (net.CrossingEdges.contains(link.To)) {
    return LinkUser::Pedestrian;
  }
  const auto lane = net.Lanes.find(link.From + "_" + link.FromLane);
  if (lane != net.Lanes.end() && !lane->second.Allow.empty()) {
    std::istringstream classes(lane->second.Allow);
    std::set<std::string> allowed;
    for (std::string c; classes >> c;) {
      allowed.insert(c);
    }
    if (allowed == std::set<std::string>{"bicycle"}) {
      return LinkUser::Cyclist;
    }
    if (std::all_of(allowed.begin(), allowed.end(),
                    [](const std::string& c) { return c == "tram" || c == "rail_urban"; })) {
      return LinkUser::Tram;
    }
  }
  return link.Direction == "s" ? LinkUser::VehicleStraight : LinkUser::VehicleTurning;
}

// Follows the internal lanes of a link from its first one: each internal
// edge's own connection names the next lane (via) where vehicles stop again.
LinkPath PathOf(const Connection& link, const Network& net) {
  LinkPath path;
  path.Index = link.LinkIndex;
  path.User = UserOf(link, net);
  std::string lane = path.User == LinkUser::Pedestrian ? link.To + "_0" : link.Via;
  path.TargetLane = link.To + "_" + link.ToLane;
  std::set<std::string> seen;
  while (!lane.empty() && seen.insert(lane).second) {
    const auto found = net.Lanes.find(lane);
    if (found == net.Lanes.end()) {
      break;
    }
    if (!path.Shape.empty()) {
      path.WaitingPosition = ShapeLength(path.Shape);
    }
    path.Shape.insert(path.Shape.end(), found->second.Shape.begin(), found->second.Shape.end());
    const std::string edge = EdgeOfLane(lane);
    const std::string index = lane.substr(std::min(lane.size(), edge.size() + 1));
    std::string next;
    for (const Connection& c : net.Connections) {
      if (c.From == edge && c.FromLane == index && !c.Via.empty()) {
        next = c.Via;
        break;
      }
    }
    lane = next;
  }
  return path;
}

}  // namespace

double ShapeLength(const std::vector<PlanePoint>& shape) {
  double length = 0.0;
  for (std::size_t i = 1; i < shape.size(); ++i) {
    length += std::hypot(shape[i].X - shape[i - 1].X, shape[i].Y - shape[i - 1].Y);
  }
  return length;
}

Result<std::vector<LinkPath>> ReadLinkPaths(const std::string& netPath,
                                            const std::string& trafficLight) {
  const std::optional<Network> net = ReadNetwork(netPath);
  if (!net) {
    return Error{"SUMO-Netz \"" + netPath + "\" ist nicht lesbar"};
  }
  std::vector<LinkPath> paths;
  for (const Connection& c : net->Connections) {
    if (c.TrafficLight == trafficLight && c.LinkIndex >= 0) {
      paths.push_back(PathOf(c, *net));
    }
  }
  if (paths.empty()) {
    return Error{"SUMO-Netz \"" + netPath + "\": Ampel \"" + trafficLight +
                 "\" steuert keine Verbindung"};
  }
  std::sort(paths.begin(), paths.end(),
            [](const LinkPath& a, const LinkPath& b) { return a.Index < b.Index; });
  return paths;
}

}  // namespace ampelsim
