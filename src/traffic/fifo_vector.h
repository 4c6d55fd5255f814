#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

namespace ampelsim::traffic {

// First in, first out in one vector, for the queues that the traffic looks
// at every tick: size, front, back and the i-th element are plain index
// arithmetic (a deque's are not). The front moves on as elements leave; the
// storage is reused once the queue runs empty, which a lane's queue does at
// every green, and the dead front is dropped once it is most of the vector.
template <typename T>
class FifoVector {
 public:
  bool empty() const { return head_ == items_.size(); }
  std::size_t size() const { return items_.size() - head_; }
  T& front() { return items_[head_]; }
  const T& front() const { return items_[head_]; }
  const T& back() const { return items_.back(); }
  T& operator[](std::size_t i) { return items_[head_ + i]; }
  const T& operator[](std::size_t i) const { return items_[head_ + i]; }

  void push_back(const T& item) { items_.push_back(item); }
  void pop_front() {
    ++head_;
    if (head_ == items_.size()) {
      items_.clear();
      head_ = 0;
    } else if (head_ >= MinDeadToDrop && head_ * 2 >= items_.size()) {
      items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(head_));
      head_ = 0;
    }
  }

 private:
  static constexpr std::size_t MinDeadToDrop = 64;

  std::vector<T> items_;
  std::size_t head_ = 0;
};

}  // namespace ampelsim::traffic
