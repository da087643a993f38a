#include "DepositLedger.h"

#include "DateMath.h"

#include <algorithm>

namespace {

bool before(const DepositRow& a, const DepositRow& b) {
    if (const int d = DateMath::compareDates(a.dueDateOfLiability, b.dueDateOfLiability); d != 0)
        return d < 0;
    if (const int e = QString::compare(a.event, b.event, Qt::CaseInsensitive); e != 0)
        return e < 0;
    return DateMath::compareDates(a.date, b.date) < 0;
}

} // namespace

void DepositLedger::sort() {
    if (!std::is_sorted(rows.begin(), rows.end(), before))
        std::stable_sort(rows.begin(), rows.end(), before);
}

void DepositLedger::mergeIn(const std::vector<DepositRow>& ordered) {
    const auto middle = rows.insert(rows.end(), ordered.begin(), ordered.end());
    std::inplace_merge(rows.begin(), middle, rows.end(), before);
}
