#include "DepositLedger.h"

#include <algorithm>

namespace {

int compareDates(const QDate& a, const QDate& b) {
    if (a.isValid() != b.isValid())
        return a.isValid() ? 1 : -1;
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

void DepositLedger::sort() {
    std::stable_sort(rows.begin(), rows.end(), [](const DepositRow& a, const DepositRow& b) {
        if (const int d = compareDates(a.dueDateOfLiability, b.dueDateOfLiability); d != 0)
            return d < 0;
        if (const int e = QString::compare(a.event, b.event, Qt::CaseInsensitive); e != 0)
            return e < 0;
        return compareDates(a.date, b.date) < 0;
    });
}
