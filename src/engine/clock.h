#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace ampelsim {

// A moment of the local civil time (date and time of day, no time zone), to
// the millisecond so that a clock can advance tick by tick.
using LocalTime = std::chrono::local_time<std::chrono::milliseconds>;

// The controller's clock: a local clock plus the offset the user set in the
// date/time dialog, so that switching points of any weekday and hour can be
// tried without waiting for them. The clock runs on its own, independent of
// the simulated seconds.
class Clock {
 public:
  Clock() = default;
  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;
  virtual ~Clock() = default;

  // The local clock itself, without the user's offset.
  virtual LocalTime LocalNow() const = 0;

  // The local time, plus the offset if asked for and in force. The engine
  // always asks with the offset.
  LocalTime SimulatedNow(bool withOffset = true) const;
  // Hour * 60 + minute of SimulatedNow.
  int SimulatedMinuteOfDay() const;
  // 0 for Monday up to 6 for Sunday.
  int SimulatedWeekdayIndex() const;
  // "dd.MM.yy": eight characters, so a stored date is always whole.
  std::string SimulatedDateText() const;
  // "hh:mm:ss".
  std::string SimulatedTimeText() const;

  // The dialog's "OK": from now on the simulated clock runs on from moment.
  void SetSimulatedNow(LocalTime moment);
  // "Zeit auf PC Zeit": the simulated clock is the local clock again.
  void ClearOffset() { offsetActive_ = false; }

  bool OffsetActive() const { return offsetActive_; }
  std::chrono::milliseconds ClockOffset() const { return clockOffset_; }

 private:
  std::chrono::milliseconds clockOffset_{0};
  bool offsetActive_ = false;
};

// The computer's local clock.
class SystemClock final : public Clock {
 public:
  LocalTime LocalNow() const override;
};

// A local clock that stands at a given moment and moves only when told: for
// tests and for runs that go faster than real time.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(LocalTime start) : now_(start) {}

  LocalTime LocalNow() const override { return now_; }
  void Advance(std::chrono::milliseconds step) { now_ += step; }
  void SetLocalNow(LocalTime moment) { now_ = moment; }

 private:
  LocalTime now_;
};

// "dd.MM.yy" and "hh:mm:ss" of a moment.
std::string ShortDateText(LocalTime moment);
std::string LongTimeText(LocalTime moment);

// "YYYY-MM-DD HH:MM:SS" with a real calendar date and time of day; empty for
// anything else.
std::optional<LocalTime> ParseLocalTime(std::string_view text);

}  // namespace ampelsim
