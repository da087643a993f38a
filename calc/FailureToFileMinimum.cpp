#include "FailureToFileMinimum.h"

std::optional<Money> FailureToFileMinimum::amountFor(int year) const {
    if (lines.empty())
        return std::nullopt;
    Money amount = lines.front().second;
    for (const auto& [first, a] : lines)
        if (first <= year)
            amount = a;
    return amount;
}
