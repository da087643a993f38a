#pragma once

#include "Rounding.h"

#include <optional>

// An amount field of the in-memory ledgers: single precision, empty until a step sets it. Empty counts as 0.
using Amount = std::optional<float>;

inline double val(const Amount& a) {
    return a ? double(*a) : 0.0;
}
inline double val(const std::optional<double>& a) {
    return a ? *a : 0.0;
}
// Stores a value computed in double precision: the field keeps the nearest single.
inline void put(Amount& field, double value) {
    field = Rounding::toSingle(value);
}
