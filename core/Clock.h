#pragma once

#include <QDate>

// Today's date, read here and nowhere else: the date a report is printed on. Tests and reproducible exports set it.
namespace Clock {

QDate today();
// A valid date fixes today; an invalid one gives back the calendar's.
void setToday(const QDate& date);

} // namespace Clock
