#include "Money.h"

#include <cmath>

Money Money::fromStored(double dollars) {
    const Money m = fromDollars(dollars);
    if (m.units > largestCents || m.units < -largestCents)
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    return m;
}

Money Money::operator+(Money other) const {
    qint64 sum = 0;
    if (__builtin_add_overflow(units, other.units, &sum))
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    return Money(sum);
}

Money Money::operator-(Money other) const {
    qint64 difference = 0;
    if (__builtin_sub_overflow(units, other.units, &difference))
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    return Money(difference);
}

Money Money::times(Rate rate) const {
    return Money(Rounding::divideHalfEven(__int128(units) * rate.millionths(), 1000000));
}

Money Money::timesFactor(double factor) const {
    return Money(Rounding::toWholeHalfEven(double(units) * factor));
}

Rate Rate::fromDouble(double rate) {
    return Rate(Rounding::toScaledHalfEven(rate, 6));
}
