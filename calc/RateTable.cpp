#include "RateTable.h"

RateTable::RateTable(const RecordSet& rows) {
    for (int i = 0; i < rows.size(); ++i) {
        const QVariant& rate = rows.value(i, QStringLiteral("Interest Rate"));
        periods.push_back({rows.value(i, QStringLiteral("Beginning Date")).toDate(),
                           rows.value(i, QStringLiteral("Ending Date")).toDate(),
                           rate.isValid() ? std::optional<double>(rate.toDouble()) : std::nullopt});
    }
}

const RateTable::Period* RateTable::find(const QDate& date) const {
    for (const auto& p : periods)
        if (p.beginning.isValid() && p.ending.isValid() && p.beginning <= date && p.ending >= date)
            return &p;
    return nullptr;
}
