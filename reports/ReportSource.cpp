#include "ReportSource.h"

#include "Database.h"
#include "Names.h"
#include "Statements.h"
#include "TaxpayerRecord.h"
#include "WholeBook.h"

ReportContent loadReport(Database& db, const ReportDefinition& definition, const TaxpayerRecord& taxpayer,
                         const QDate& printDate) {
    const QString query = definition.query.contains(QLatin1Char('?'))
                              ? Sql::withParameter(definition.query, taxpayer.number())
                              : definition.query;
    const RecordSet rows = db.query(query);
    const QString title =
        definition.title ? definition.title(db, taxpayer)
                         : reportTitle(definition, taxpayer.name(), taxpayer.date(Columns::originalDueDateOfReturn),
                                       taxpayer.date(Columns::endDate));
    return ReportContent::build(definition, rows, title, printDate);
}

ReportContent wholeBookContent(const std::vector<WholeBook::Line>& lines, const QDate& printDate) {
    const ReportDefinition& definition = ReportDefinition::wholeBook();
    const QString title = definition.titleText + QLatin1Char('\n') +
                          QStringLiteral("%1 taxpayer(s), each calculated to its own End Date").arg(lines.size()) +
                          QLatin1Char('\n') + QStringLiteral("Calculated on ") +
                          formatReportValue(ReportFormat::Date, printDate);
    return ReportContent::build(definition, WholeBook::rows(lines), title, printDate);
}

ReportContent loadWholeBook(Database& db, const QDate& printDate, const std::function<void(int, int)>& progress) {
    return wholeBookContent(WholeBook::summaries(db, progress), printDate);
}
