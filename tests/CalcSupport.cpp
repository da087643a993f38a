#include "CalcSupport.h"

#include "CaseReader.h"
#include "RecordSet.h"
#include "Schema.h"

TaxpayerCase taxpayerRow(const QVariantMap& columns) {
    const Schema::Table* t = Schema::table(QStringLiteral("Basic Taxpayer Data"));
    RecordSet rows(t->columnNames());
    QVariantList values;
    for (const auto& name : t->columnNames())
        values << columns.value(name);
    rows.append(values);
    TaxpayerCase c = CaseReader::taxpayerOf(rows, 0);
    c.figures = std::make_shared<PublishedFigures>();
    return c;
}
