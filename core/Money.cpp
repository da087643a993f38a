#include "Money.h"

#include <cmath>

Money Money::fromStored(double dollars) {
    const Money m = fromDollars(dollars);
    if (m.units > largestCents || m.units < -largestCents)
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    return m;
}

void Money::overflow() {
    throw Rounding::ArithmeticFault(Rounding::overflowText);
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
