#include "sumo/link_conflicts.h"

#include <cmath>
#include <optional>

namespace ampelsim {
namespace {

// Closer than this, two points of a way are the same place (metres).
constexpr double SamePlace = 0.05;

struct Crossing {
  double First = 0.0;  // fractions along the two segments
  double Second = 0.0;
};

std::optional<Crossing> SegmentsCross(PlanePoint a0, PlanePoint a1, PlanePoint b0, PlanePoint b1) {
  const double dax = a1.X - a0.X;
  const double day = a1.Y - a0.Y;
  const double dbx = b1.X - b0.X;
  const double dby = b1.Y - b0.Y;
  const double denominator = dax * dby - day * dbx;
  if (std::abs(denominator) < 1e-12) {
    return std::nullopt;  // parallel: such ways only touch where they merge
  }
  const double ex = b0.X - a0.X;
  const double ey = b0.Y - a0.Y;
  const double s = (ex * dby - ey * dbx) / denominator;
  const double t = (ex * day - ey * dax) / denominator;
  constexpr double Edge = 1e-9;
  if (s < -Edge || s > 1.0 + Edge || t < -Edge || t > 1.0 + Edge) {
    return std::nullopt;
  }
  return Crossing{s, t};
}

double SegmentLength(PlanePoint a, PlanePoint b) {
  return std::hypot(b.X - a.X, b.Y - a.Y);
}

bool SharedStart(const LinkPath& a, const LinkPath& b) {
  return !a.Shape.empty() && !b.Shape.empty() &&
         SegmentLength(a.Shape.front(), b.Shape.front()) < SamePlace;
}

void AddCrossings(const LinkPath& a, const LinkPath& b, std::vector<LinkConflict>& conflicts) {
  const double lengthA = ShapeLength(a.Shape);
  const double lengthB = ShapeLength(b.Shape);
  const bool sharedStart = SharedStart(a, b);
  const bool sameTarget = a.TargetLane == b.TargetLane;
  const std::size_t first = conflicts.size();
  double startA = 0.0;
  for (std::size_t i = 1; i < a.Shape.size(); ++i) {
    const double segmentA = SegmentLength(a.Shape[i - 1], a.Shape[i]);
    double startB = 0.0;
    for (std::size_t j = 1; j < b.Shape.size(); ++j) {
      const double segmentB = SegmentLength(b.Shape[j - 1], b.Shape[j]);
      const auto cross = SegmentsCross(a.Shape[i - 1], a.Shape[i], b.Shape[j - 1], b.Shape[j]);
      if (cross) {
        const double distanceA = startA + cross->First * segmentA;
        const double distanceB = startB + cross->Second * segmentB;
        const bool atStart = sharedStart && distanceA < SamePlace && distanceB < SamePlace;
        const bool atMerge =
            sameTarget && lengthA - distanceA < SamePlace && lengthB - distanceB < SamePlace;
        bool known = false;
        for (std::size_t k = first; k < conflicts.size(); ++k) {
          known = known || (std::abs(conflicts[k].FirstDistance - distanceA) < SamePlace &&
                            std::abs(conflicts[k].SecondDistance - distanceB) < SamePlace);
        }
        if (!atStart && !atMerge && !known) {
          conflicts.push_back({a.Index, b.Index, distanceA, distanceB, false});
        }
      }
      startB += segmentB;
    }
    startA += segmentA;
  }
  if (sameTarget) {
    conflicts.push_back({a.Index, b.Index, lengthA, lengthB, true});
  }
}

}  // namespace

std::vector<LinkConflict> FindLinkConflicts(const std::vector<LinkPath>& links) {
  std::vector<LinkConflict> conflicts;
  for (std::size_t i = 0; i < links.size(); ++i) {
    for (std::size_t j = i + 1; j < links.size(); ++j) {
      const bool bothWalk =
          links[i].User == LinkUser::Pedestrian && links[j].User == LinkUser::Pedestrian;
      if (!bothWalk) {
        AddCrossings(links[i], links[j], conflicts);
      }
    }
  }
  return conflicts;
}

}  // namespace ampelsim
