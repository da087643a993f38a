#include "ReportSource.h"

#include "Database.h"
#include "Names.h"
#include "Statements.h"
#include "TaxpayerRecord.h"

ReportContent loadReport(Database& db, const ReportDefinition& definition, const TaxpayerRecord& taxpayer,
                         const QDate& printDate) {
    const QString query = definition.query.contains(QLatin1Char('?'))
                              ? Sql::withParameter(definition.query, taxpayer.number())
                              : definition.query;
    const RecordSet rows = db.query(query);
    const QString title = reportTitle(definition, taxpayer.name(), taxpayer.date(Columns::originalDueDateOfReturn),
                                      taxpayer.date(Columns::endDate));
    return ReportContent::build(definition, rows, title, printDate);
}
