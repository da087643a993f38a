#pragma once

#include "Money.h"

#include <optional>

// An amount field of the in-memory ledgers: exact money, empty until a step sets it. Empty counts as 0.
using Amount = std::optional<Money>;

inline Money val(const Amount& a) {
    return a.value_or(Money());
}
