#include "TaxpayerRecord.h"

#include "Names.h"
#include "RunStop.h"

int TaxpayerRecord::number() const {
    return set.value(at, Columns::taxpayerNumber).toInt();
}

QString TaxpayerRecord::name() const {
    return set.value(at, Columns::taxpayerName).toString();
}

QDate TaxpayerRecord::date(const QString& column) const {
    return set.value(at, column).toDate();
}

bool TaxpayerRecord::flag(const QString& column) const {
    return set.value(at, column).toBool();
}

std::optional<double> TaxpayerRecord::amount(const QString& column) const {
    const QVariant& v = set.value(at, column);
    if (!v.isValid())
        return std::nullopt;
    return v.toDouble();
}

QDate TaxpayerRecord::requiredDate(const QString& column, const QString& label) const {
    const QDate d = date(column);
    if (!d.isValid())
        throw RunStop(Messages::missing(label));
    return d;
}
