#pragma once

#include <QtGlobal>

#include <stdexcept>

// The program's roundings, one function per rule; no other rounding is done anywhere in the calculations.
namespace Rounding {

// An arithmetic fault of a calculation (overflow, a result that is not a number). Ends the run through its
// failure path with this description.
class ArithmeticFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The description of an overflow, as the user reads it.
inline constexpr const char* overflowText =
    "Overflow: an amount in the calculation is too large. Check the amounts and dates of this taxpayer.";

// Half to even at whole cents, as a count of cents (amounts shown with two decimals).
qint64 toCentsHalfEven(double value);

// Half to even at `decimals` decimals, as a count of units of the last decimal (report formats: counts, percentages
// with two decimals, factors with eight).
qint64 toScaledHalfEven(double value, int decimals);

// numerator ÷ denominator (denominator > 0) to the nearest whole number, half to even, in exact integer arithmetic
// (a quarter or a percentage of an amount in cents).
// A result beyond 64 bits is an overflow.
qint64 divideHalfEven(__int128 numerator, qint64 denominator);

// Half to even at whole numbers, as a 64-bit integer (cents of interest: an amount in cents times a factor).
qint64 toWholeHalfEven(double value);

// A whole count held in a 16-bit counter; beyond its range is an overflow, never a wrap.
qint16 toInt16(double value);

} // namespace Rounding
