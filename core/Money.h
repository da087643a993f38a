#pragma once

#include "Rate.h"
#include "Rounding.h"

#include <QtGlobal>

#include <compare>

// An amount of money, exact: a whole number of cents. A value that comes as a binary number (a stored REAL, a typed
// figure) becomes cents once, rounded half to even; sums and differences are exact; a product with a rate is rounded
// to the cent, half to even, where it is made. A result beyond 64 bits of cents is an overflow, never a wrapped one.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCents(qint64 cents) { return Money(cents); }
    // Dollars to the nearest cent, half to even.
    static Money fromDollars(double dollars) { return Money(Rounding::toCentsHalfEven(dollars)); }
    // A value read from the database or typed: to the nearest cent, and no more than the largest amount the program
    // takes (999,999,999,999.99); beyond it an overflow.
    static Money fromStored(double dollars);

    constexpr qint64 cents() const { return units; }
    // As a REAL column stores it: the nearest double to the dollars.
    double toDouble() const { return double(units) / 100.0; }

    Money operator+(Money other) const {
        qint64 sum = 0;
        if (__builtin_add_overflow(units, other.units, &sum))
            overflow();
        return Money(sum);
    }
    Money operator-(Money other) const {
        qint64 difference = 0;
        if (__builtin_sub_overflow(units, other.units, &difference))
            overflow();
        return Money(difference);
    }
    Money operator-() const { return Money(0) - *this; }
    Money& operator+=(Money other) { return *this = *this + other; }
    Money& operator-=(Money other) { return *this = *this - other; }
    constexpr auto operator<=>(const Money&) const = default;

    // This amount times `rate`, to the cent, half to even: a penalty when it is made.
    Money times(Rate rate) const;
    // This amount times `factor` (an interest factor), to the cent, half to even: interest when it is rounded.
    Money timesFactor(double factor) const;

    // An amount of interest computed in cents, to the cent, half to even: the sum of several parts of a balance, each
    // with its own factor, rounded once.
    static Money ofCents(double cents) { return Money(Rounding::toWholeHalfEven(cents)); }
    // The largest amount, in cents, the program takes typed or stored.
    static constexpr qint64 largestCents = 99999999999999;

private:
    constexpr explicit Money(qint64 cents) : units(cents) {}
    [[noreturn]] static void overflow();
    qint64 units = 0;
};
