#include "ReportSource.h"

#include "Database.h"
#include "Names.h"
#include "Statements.h"
#include "TaxpayerCase.h"
#include "WholeBook.h"

ReportContent loadReport(Database& db, const ReportDefinition& definition, const TaxpayerCase& taxpayer,
                         const QDate& printDate) {
    const QString query = definition.query.contains(QLatin1Char('?'))
                              ? Sql::withParameter(definition.query, taxpayer.number)
                              : definition.query;
    return buildReport(definition, taxpayer, db.query(query), printDate);
}

ReportContent buildReport(const ReportDefinition& definition, const TaxpayerCase& taxpayer, const RecordSet& rows,
                          const QDate& printDate) {
    const QString title = definition.title
                              ? definition.title(taxpayer)
                              : reportTitle(definition, taxpayer.name, taxpayer.originalDueDate, taxpayer.endDate);
    return ReportContent::build(definition, rows, title, printDate);
}

ReportContent wholeBookContent(const std::vector<WholeBook::Line>& lines, const QDate& printDate) {
    const ReportDefinition& definition = ReportDefinition::wholeBook();
    const QString title = definition.titleText + QLatin1Char('\n') +
                          QStringLiteral("%1 taxpayer(s), each calculated to its own End Date").arg(lines.size()) +
                          QLatin1Char('\n') + QStringLiteral("Calculated on ") +
                          formatReportValue(ReportFormat::Date, printDate);
    ReportContent content = ReportContent::build(definition, WholeBook::rows(lines), title, printDate);
    // On paper a stopped taxpayer's message takes a line of its own under its row, across the page; the CSV export
    // has it in its column.
    const int message = int(definition.columns.size()) - 1;
    for (size_t i = 0; i < content.lines.size(); ++i) {
        const auto& line = content.lines[i];
        if (line.groupHeader || line.cells.value(message).isEmpty())
            continue;
        ReportContent::Line note;
        note.groupHeader = true;
        note.note = true;
        note.header = line.cells.value(message);
        content.lines.insert(content.lines.begin() + std::ptrdiff_t(i) + 1, note);
    }
    return content;
}

ReportContent loadWholeBook(Database& db, const QDate& printDate, const std::function<void(int, int)>& progress) {
    return wholeBookContent(WholeBook::summaries(db, progress), printDate);
}
