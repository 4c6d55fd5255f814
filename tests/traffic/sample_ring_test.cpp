#include "traffic/sample_ring.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace ampelsim::traffic {
namespace {

// Against a deque that drops its front beyond the capacity: the same last
// samples while it grows, when it is full and after it wrapped several
// times, for every count asked.
TEST(SampleRing, KeepsTheLastSamplesAsADequeDoes) {
  for (const std::size_t capacity : {0U, 1U, 7U}) {
    SampleRing ring(capacity);
    std::deque<std::int32_t> kept;
    for (std::int32_t sample = 0; sample < 40; ++sample) {
      ring.Push(sample * 3);
      kept.push_back(sample * 3);
      if (kept.size() > capacity) {
        kept.pop_front();
      }
      ASSERT_EQ(ring.Size(), kept.size());
      for (std::size_t count = 0; count <= capacity + 1; ++count) {
        const std::size_t n = std::min(count, kept.size());
        const std::vector<std::int32_t> expected(kept.end() - static_cast<std::ptrdiff_t>(n),
                                                 kept.end());
        ASSERT_EQ(ring.Last(count), expected)
            << "capacity " << capacity << ", sample " << sample << ", count " << count;
      }
    }
  }
}

}  // namespace
}  // namespace ampelsim::traffic
