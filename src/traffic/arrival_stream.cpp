#include "traffic/arrival_stream.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ampelsim::traffic {
namespace {

constexpr double Never = std::numeric_limits<double>::infinity();

std::seed_seq SeedOf(std::uint64_t seed, int group) {
  return std::seed_seq{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                       static_cast<std::uint32_t>(group)};
}

}  // namespace

ArrivalStream::ArrivalStream(const GroupTraffic& traffic, std::uint64_t seed)
    : flow_(traffic.HourlyFlow),
      model_(traffic.Arrivals),
      engine_(std::make_unique<std::mt19937_64>()) {
  auto sequence = SeedOf(seed, traffic.Group);
  engine_->seed(sequence);
}

double ArrivalStream::Headway(double flow) {
  if (flow <= 0.0) {
    return Never;
  }
  const double mean = 3600.0 / flow;
  if (model_ == ArrivalModel::Regular) {
    return mean;
  }
  // 53 random bits as a uniform number in (0, 1]: the same on every
  // standard library, unlike std::exponential_distribution.
  const double uniform = static_cast<double>(((*engine_)() >> 11) + 1) * 0x1.0p-53;
  return -std::log(uniform) * mean;
}

void ArrivalStream::Draw(double from, double to, int hour, std::vector<double>& out) {
  const double flow = flow_[static_cast<std::size_t>(hour) % flow_.size()];
  if (flow != drawnFlow_) {
    drawnFlow_ = flow;
    if (model_ == ArrivalModel::Random || next_ < 0.0 || next_ == Never) {
      next_ = from + Headway(flow);
    } else {
      // A regular stream keeps the arrival it had planned unless the new
      // headway brings the next one sooner.
      next_ = std::min(next_, from + Headway(flow));
    }
  }
  while (next_ < to) {
    out.push_back(next_);
    next_ += Headway(flow);
  }
}

}  // namespace ampelsim::traffic
