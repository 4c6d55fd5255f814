#include "gui/engine/local_time_qt.h"

namespace ampelsim::ui {
namespace {

// Julian day number of 1970-01-01, the first day of the clock's day count.
constexpr qint64 JulianDayOfEpoch = 2440588;

}  // namespace

QDateTime ToQDateTime(LocalTime moment) {
  const auto day = std::chrono::floor<std::chrono::days>(moment);
  const auto timeOfDay = moment - day;
  const QDate date = QDate::fromJulianDay(day.time_since_epoch().count() + JulianDayOfEpoch);
  const QTime time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(timeOfDay.count()));
  return QDateTime(date, time, Qt::UTC);
}

LocalTime ToLocalTime(const QDate& date, const QTime& time) {
  const std::chrono::local_days day{std::chrono::days{
      static_cast<std::chrono::days::rep>(date.toJulianDay() - JulianDayOfEpoch)}};
  return LocalTime{day} + std::chrono::milliseconds{time.msecsSinceStartOfDay()};
}

LocalTime ToLocalTime(const QDateTime& moment) {
  return ToLocalTime(moment.date(), moment.time());
}

}  // namespace ampelsim::ui
