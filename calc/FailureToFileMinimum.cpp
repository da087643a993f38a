#include "FailureToFileMinimum.h"

#include "Names.h"

FailureToFileMinimum::FailureToFileMinimum(const RecordSet& rows) {
    for (int i = 0; i < rows.size(); ++i)
        lines.push_back({rows.value(i, Columns::firstYear).toInt(), rows.value(i, Columns::amount).toDouble()});
}

std::optional<double> FailureToFileMinimum::amountFor(int year) const {
    if (lines.empty())
        return std::nullopt;
    double amount = lines.front().second;
    for (const auto& [first, a] : lines)
        if (first <= year)
            amount = a;
    return amount;
}
