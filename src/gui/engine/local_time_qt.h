#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "engine/clock.h"

namespace ampelsim::ui {

// The clock's civil moments as the date and time editors hold them. The editors
// work in UTC so that a civil time inside a daylight-saving gap stays valid.
QDateTime ToQDateTime(LocalTime moment);
LocalTime ToLocalTime(const QDate& date, const QTime& time);
LocalTime ToLocalTime(const QDateTime& moment);

}  // namespace ampelsim::ui
