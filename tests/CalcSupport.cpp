#include "CalcSupport.h"

#include "Schema.h"

TaxpayerRecord taxpayerRow(const QVariantMap& columns) {
    const Schema::Table* t = Schema::table(QStringLiteral("Basic Taxpayer Data"));
    RecordSet rows(t->columnNames());
    QVariantList values;
    for (const auto& name : t->columnNames())
        values << columns.value(name);
    rows.append(values);
    return TaxpayerRecord(rows, 0);
}
