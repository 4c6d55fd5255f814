#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ampelsim::traffic {

// The last `capacity` samples of a series: one vector that grows to the
// capacity and is then overwritten in turn, oldest first. A sample a second
// for a whole day costs a store and an index, not a deque's bookkeeping.
class SampleRing {
 public:
  explicit SampleRing(std::size_t capacity) : capacity_(capacity) {}

  void Push(std::int32_t sample) {
    if (samples_.size() < capacity_) {
      samples_.push_back(sample);
      return;
    }
    if (capacity_ == 0) {
      return;
    }
    samples_[oldest_] = sample;
    oldest_ = oldest_ + 1 == capacity_ ? 0 : oldest_ + 1;
  }

  std::size_t Size() const { return samples_.size(); }

  // The last `count` samples (all there are if fewer), oldest first.
  std::vector<std::int32_t> Last(std::size_t count) const {
    const std::size_t size = samples_.size();
    count = std::min(count, size);
    std::vector<std::int32_t> last;
    last.reserve(count);
    for (std::size_t i = size - count; i < size; ++i) {
      last.push_back(samples_[(oldest_ + i) % size]);
    }
    return last;
  }

 private:
  std::size_t capacity_;
  std::vector<std::int32_t> samples_;
  std::size_t oldest_ = 0;  // once full: where the oldest sample is
};

}  // namespace ampelsim::traffic
