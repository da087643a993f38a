#pragma once

#include <QtGlobal>

#include <compare>

// An annual rate or a penalty percentage, exact: a whole number of millionths (0.07, 7 %, is 70,000). A stored rate
// becomes millionths once, rounded half to even.
class Rate {
public:
    constexpr Rate() = default;
    static constexpr Rate fromMillionths(qint64 millionths) { return Rate(millionths); }
    static Rate fromDouble(double rate);

    constexpr qint64 millionths() const { return units; }
    // The decimal fraction as a double: for interest factors and for the reports.
    double toDouble() const { return double(units) / 1000000.0; }

    constexpr Rate operator-(Rate other) const { return Rate(units - other.units); }
    constexpr Rate operator+(Rate other) const { return Rate(units + other.units); }
    constexpr auto operator<=>(const Rate&) const = default;

private:
    constexpr explicit Rate(qint64 millionths) : units(millionths) {}
    qint64 units = 0;
};
