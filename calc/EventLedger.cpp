#include "EventLedger.h"

#include "Balances.h"
#include "DateMath.h"

#include "Rounding.h"

#include <algorithm>

LedgerRow& EventLedger::add(const QString& event, const QDate& date, const QDate& date2) {
    LedgerRow r;
    r.event = event;
    r.date = date;
    r.date2 = date2;
    rows.push_back(std::move(r));
    return rows.back();
}

namespace {

int compareEvents(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive);
}

} // namespace

void EventLedger::sort(Order order) {
    std::stable_sort(rows.begin(), rows.end(), [order](const LedgerRow& a, const LedgerRow& b) {
        if (order == Order::DeleteAscDateAscEventAsc && a.isDeleted() != b.isDeleted())
            return !a.isDeleted();
        if (const int d = DateMath::compareDates(a.date, b.date); d != 0)
            return d < 0;
        const int e = compareEvents(a.event, b.event);
        return order == Order::DateAscEventDesc ? e > 0 : e < 0;
    });
}

void EventLedger::removeDeleted() {
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const LedgerRow& r) { return r.isDeleted(); }), rows.end());
}

void EventLedger::runningTaxBalance(bool resort) {
    if (resort)
        sort(Order::DateAscEventAsc);
    float unpaid = 0;
    for (auto& r : rows) {
        put(r.tax, Balances::taxAfter(unpaid, r));
        unpaid = *r.tax;
    }
}
