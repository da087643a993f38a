#pragma once

#include "Rate.h"

#include <QString>

// The rule every interest rate the program takes in meets, from a rates file, a rate table or an editor: an annual
// rate is a decimal fraction from 0 up to 1 (0.07 is 7 %). A rate of 7 meant as 7 % would charge a hundred times the
// interest; a negative one would pay interest on a debt.
namespace RateCheck {

bool acceptable(double rate);
bool acceptable(Rate rate);
// Why `rate` is refused, as a message names it ("a rate of 7 is not a decimal fraction from 0 to 1 (0.07 for 7 %)");
// empty when it is acceptable.
QString refusal(double rate);
QString refusal(Rate rate);

} // namespace RateCheck
