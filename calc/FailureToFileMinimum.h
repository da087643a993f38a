#pragma once

#include "Money.h"

#include <optional>
#include <vector>

// The failure-to-file minimum by year, as the minimums table holds it: from each [First Year] on, its
// [Amount], the year being the one in which the return was required to be filed (by its extended due date).
class FailureToFileMinimum {
public:
    FailureToFileMinimum() = default;
    // Lines of (first year, amount), rising by year.
    explicit FailureToFileMinimum(std::vector<std::pair<int, Money>> lines) : lines(std::move(lines)) {}

    // The amount of the latest line not after `year`; a year before every line takes the first line's. Empty when
    // the table is.
    std::optional<Money> amountFor(int year) const;

private:
    std::vector<std::pair<int, Money>> lines;
};
