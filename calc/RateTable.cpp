#include "RateTable.h"

#include "Names.h"

RateTable::RateTable(const RecordSet& rows) {
    for (int i = 0; i < rows.size(); ++i) {
        const QVariant& rate = rows.value(i, Columns::interestRate);
        periods.push_back({rows.value(i, Columns::beginningDate).toDate(), rows.value(i, Columns::endingDate).toDate(),
                           rate.isValid() ? std::optional<double>(rate.toDouble()) : std::nullopt});
    }
}

const RateTable::Period* RateTable::find(const QDate& date) const {
    for (const auto& p : periods)
        if (p.beginning.isValid() && p.ending.isValid() && p.beginning <= date && p.ending >= date)
            return &p;
    return nullptr;
}
