#include "engine/clock.h"

#include "data/decimal_text.h"

#include <cstdio>
#include <ctime>

namespace ampelsim {
namespace {

using std::chrono::days;
using std::chrono::floor;
using std::chrono::local_days;
using std::chrono::milliseconds;

struct CivilTime {
  std::chrono::year_month_day Date;
  std::chrono::hh_mm_ss<milliseconds> TimeOfDay;
};

CivilTime Split(LocalTime moment) {
  const auto day = floor<days>(moment);
  return {std::chrono::year_month_day{day}, std::chrono::hh_mm_ss<milliseconds>{moment - day}};
}

std::string TwoDigitFields(char separator, int first, int second, int third) {
  std::string text;
  text.reserve(8);
  AppendZeroPadded(text, first, 2);
  text += separator;
  AppendZeroPadded(text, second, 2);
  text += separator;
  AppendZeroPadded(text, third, 2);
  return text;
}

// Reads `count` decimal digits at `position`; -1 if any of them is not a digit.
int Digits(std::string_view text, std::size_t position, std::size_t count) {
  int value = 0;
  for (std::size_t i = position; i < position + count; ++i) {
    if (text[i] < '0' || text[i] > '9') {
      return -1;
    }
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

LocalTime Clock::SimulatedNow(bool withOffset) const {
  const LocalTime local = LocalNow();
  return withOffset && offsetActive_ ? local + clockOffset_ : local;
}

int Clock::SimulatedMinuteOfDay() const {
  const CivilTime now = Split(SimulatedNow());
  return static_cast<int>(now.TimeOfDay.hours().count() * 60 + now.TimeOfDay.minutes().count());
}

int Clock::SimulatedWeekdayIndex() const {
  const std::chrono::weekday day{floor<days>(SimulatedNow())};
  return static_cast<int>(day.iso_encoding()) - 1;
}

std::string Clock::SimulatedDateText() const {
  return ShortDateText(SimulatedNow());
}

std::string Clock::SimulatedTimeText() const {
  return LongTimeText(SimulatedNow());
}

void Clock::SetSimulatedNow(LocalTime moment) {
  clockOffset_ = moment - LocalNow();
  offsetActive_ = true;
}

LocalTime SystemClock::LocalNow() const {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm civil{};
  if (localtime_r(&seconds, &civil) == nullptr) {
    // No time zone information: the universal time is the best local time left.
    return LocalTime{floor<milliseconds>(now.time_since_epoch())};
  }
  const auto fraction = floor<milliseconds>(now - std::chrono::system_clock::from_time_t(seconds));
  const local_days date{std::chrono::year{civil.tm_year + 1900} /
                        std::chrono::month{static_cast<unsigned>(civil.tm_mon + 1)} /
                        std::chrono::day{static_cast<unsigned>(civil.tm_mday)}};
  return LocalTime{date} + std::chrono::hours{civil.tm_hour} + std::chrono::minutes{civil.tm_min} +
         std::chrono::seconds{civil.tm_sec} + fraction;
}

std::string ShortDateText(LocalTime moment) {
  const CivilTime civil = Split(moment);
  const int year = static_cast<int>(civil.Date.year());
  return TwoDigitFields('.', static_cast<int>(static_cast<unsigned>(civil.Date.day())),
                        static_cast<int>(static_cast<unsigned>(civil.Date.month())),
                        (year % 100 + 100) % 100);
}

std::string LongTimeText(LocalTime moment) {
  const CivilTime civil = Split(moment);
  return TwoDigitFields(':', static_cast<int>(civil.TimeOfDay.hours().count()),
                        static_cast<int>(civil.TimeOfDay.minutes().count()),
                        static_cast<int>(civil.TimeOfDay.seconds().count()));
}

std::optional<LocalTime> ParseLocalTime(std::string_view text) {
  // YYYY-MM-DD HH:MM:SS
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const int year = Digits(text, 0, 4);
  const int month = Digits(text, 5, 2);
  const int day = Digits(text, 8, 2);
  const int hour = Digits(text, 11, 2);
  const int minute = Digits(text, 14, 2);
  const int second = Digits(text, 17, 2);
  if (year < 0 || month < 0 || day < 0 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) {
    return std::nullopt;
  }
  return LocalTime{local_days{date}} + std::chrono::hours{hour} + std::chrono::minutes{minute} +
         std::chrono::seconds{second};
}

}  // namespace ampelsim
