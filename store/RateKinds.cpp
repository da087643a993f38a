#include "RateKinds.h"

#include "Names.h"

namespace RateKinds {

const std::vector<RateKind>& all() {
    static const std::vector<RateKind> kinds = {
        {Tables::underpaymentRates, QStringLiteral("underpayment"), QStringLiteral("underpayment"), true,
         QStringLiteral("frmUnderpaymentIntRates"), QStringLiteral("Underpayment Quarterly Interest Table"),
         QStringLiteral("mnuUnderpaymentrates"), QStringLiteral("&Underpayment Rates")},
        {Tables::overpaymentRates, QStringLiteral("overpayment"), QStringLiteral("overpayment_noncorp"), true,
         QStringLiteral("frmOverpaymentIntRates"), QStringLiteral("Overpayment Quarterly Interest Table"),
         QStringLiteral("mnuOverpaymentrates"), QStringLiteral("&Overpayment Rates")},
        {Tables::largeCorporateRates, QStringLiteral("large corporate underpayment"),
         QStringLiteral("large_corp_underpayment"), false, QStringLiteral("frmLargeCorporateIntRates"),
         QStringLiteral("Large Corporate Underpayment Interest Table"), QStringLiteral("mnuLargeCorporaterates"),
         QStringLiteral("&Large Corporate Underpayment Rates")},
    };
    return kinds;
}

const RateKind& underpayment() {
    return all()[0];
}
const RateKind& overpayment() {
    return all()[1];
}
const RateKind& largeCorporate() {
    return all()[2];
}

const RateKind* ofTable(const QString& table) {
    for (const auto& k : all())
        if (k.table == table)
            return &k;
    return nullptr;
}

int indexOf(const RateKind& kind) {
    return int(&kind - all().data());
}

} // namespace RateKinds
