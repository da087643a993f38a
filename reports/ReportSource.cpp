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

namespace {

// On paper, under the rows of the interest report that need a word: a refund, with what it took; the first row on
// which part of a corporation's overpayment earns the lower rate above the threshold, whose row shows the rate of
// the first part.
void interestNotes(ReportContent& content, const TaxpayerCase& taxpayer, const RecordSet& rows) {
    const auto when = [](const QDate& d) { return d.toString(QStringLiteral("MM/dd/yyyy")); };
    const auto money = [](const QVariant& v) { return formatReportValue(ReportFormat::Money, v); };
    const std::optional<InterestLaw>& law = taxpayer.figures ? taxpayer.figures->interestLaw : std::nullopt;
    bool lowerRateSaid = false;
    bool afterEvent = true;
    double periodBase = 0; // the balance, with its interest, at the start of the balance period under way
    int detail = -1;
    for (size_t i = 0; i < content.lines.size(); ++i) {
        if (content.lines[i].groupHeader)
            continue;
        ++detail;
        if (detail >= rows.size())
            break;
        const QString event = rows.value(detail, Columns::event).toString();
        const QDate first = rows.value(detail, Columns::date).toDate();
        if (event == EventTexts::interest && afterEvent)
            periodBase = rows.value(detail, Columns::unpaidBalance).toDouble() +
                         rows.value(detail, Columns::accruedInterest).toDouble();
        afterEvent = event != EventTexts::interest;
        QString text;
        if (event == EventTexts::refund) {
            const double accrued = rows.value(detail, Columns::accruedInterest).toDouble();
            const QDate made = rows.value(detail, Columns::date2).toDate();
            text = QStringLiteral("Refund made %1, interest allowed to %2: %3 of interest went with it.")
                       .arg(when(made), when(first), money(accrued < 0 ? -accrued : 0.0));
        } else if (event == EventTexts::interest && taxpayer.corporate && law && !lowerRateSaid &&
                   first > law->largeCorporateOverpaymentAfter) {
            // The part above the threshold is that of the period's base (a balance period splits where it begins).
            const double threshold = double(law->largeCorporateOverpaymentThreshold.cents()) / 100.0;
            if (-periodBase > threshold) {
                lowerRateSaid = true;
                text = QStringLiteral("The rate shown is that of the first %1 of the overpayment; the part above it "
                                      "earns the lower rate of large corporate overpayments.")
                           .arg(money(threshold));
            }
        }
        if (text.isEmpty())
            continue;
        ReportContent::Line note;
        note.groupHeader = true;
        note.note = true;
        note.header = text;
        content.lines.insert(content.lines.begin() + std::ptrdiff_t(i) + 1, note);
        ++i;
    }
}

} // namespace

ReportContent buildReport(const ReportDefinition& definition, const TaxpayerCase& taxpayer, const RecordSet& rows,
                          const QDate& printDate) {
    const QString title = definition.title
                              ? definition.title(taxpayer)
                              : reportTitle(definition, taxpayer.name, taxpayer.originalDueDate, taxpayer.endDate);
    ReportContent content = ReportContent::build(definition, rows, title, printDate);
    if (&definition == &ReportDefinition::penaltyAndInterest())
        interestNotes(content, taxpayer, rows);
    return content;
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

QString nettingReading(bool refundTakesFirstPart) {
    return refundTakesFirstPart
               ? QStringLiteral("Reading followed: a refund or a netting of a corporation's overpayment takes its "
                                "first $10,000 first; what remains earns the lower rate on all of it (the setting).")
               : QStringLiteral("Reading followed: a refund or a netting of a corporation's overpayment takes the part "
                                "above $10,000 first; what remains keeps the first $10,000 at the corporate rate.");
}

ReportContent nettingContent(const NettingRun::Result& result, bool refundTakesFirstPart, const QDate& printDate) {
    const ReportDefinition& definition = ReportDefinition::netting();
    const QString title = QStringLiteral("Client %1").arg(result.clientCode) + QLatin1Char('\n') +
                          definition.titleText + QLatin1Char('\n') +
                          QStringLiteral("Each return calculated to its own End Date; calculated on ") +
                          formatReportValue(ReportFormat::Date, printDate);
    ReportContent content = ReportContent::build(definition, NettingRun::rows(result), title, printDate);
    auto note = [](const QString& text) {
        ReportContent::Line line;
        line.groupHeader = true;
        line.note = true;
        line.header = text;
        return line;
    };
    if (result.overlaps.empty())
        content.lines.insert(content.lines.begin(),
                             note(QStringLiteral("No overlapping periods: on no day did one return bear "
                                                 "underpayment interest while another earned overpayment interest.")));
    content.lines.push_back(
        note(QStringLiteral("Netting benefit: %1")
                 .arg(formatReportValue(ReportFormat::Money, double(result.benefit.cents()) / 100.0))));
    content.lines.push_back(note(nettingReading(refundTakesFirstPart)));
    return content;
}

namespace {

// Notes after the rows, one a text, as a note under the last row prints.
void appendNotes(ReportContent& content, const QStringList& texts) {
    for (const QString& text : texts) {
        ReportContent::Line line;
        line.groupHeader = true;
        line.note = true;
        line.header = text;
        content.lines.push_back(line);
    }
}

} // namespace

ReportContent noticeCheckContent(const NoticeCheck::Result& result, const QDate& printDate) {
    const ReportDefinition& definition = ReportDefinition::noticeCheck();
    const auto day = [](const QDate& d) { return formatReportValue(ReportFormat::Date, d); };
    const QString kind = result.notice.kind.isEmpty() ? QStringLiteral("IRS notice") : result.notice.kind;
    const QString title =
        result.name + QLatin1Char('\n') + definition.titleText +
        QStringLiteral(": %1 of %2").arg(kind, day(result.notice.date)) + QLatin1Char('\n') +
        QStringLiteral("Figured to %1; calculated on %2").arg(day(result.notice.figuredTo), day(printDate));
    ReportContent content = ReportContent::build(definition, NoticeCheck::rows(result), title, printDate);
    appendNotes(content, NoticeCheck::causeNotes(result));
    return content;
}

ReportContent penaltyReliefContent(const PenaltyRelief::Result& result, const QDate& printDate) {
    const ReportDefinition& definition = ReportDefinition::penaltyRelief();
    const auto day = [](const QDate& d) { return formatReportValue(ReportFormat::Date, d); };
    const QString title = result.name + QLatin1Char('\n') + definition.titleText +
                          QStringLiteral(": first-time abatement or reasonable cause") + QLatin1Char('\n') +
                          QStringLiteral("Figured to %1; calculated on %2").arg(day(result.at), day(printDate));
    ReportContent content = ReportContent::build(definition, PenaltyRelief::rows(result), title, printDate);
    appendNotes(content, PenaltyRelief::notes(result));
    return content;
}

ReportContent loadWholeBook(Database& db, const QDate& printDate, const std::function<void(int, int)>& progress) {
    return wholeBookContent(WholeBook::summaries(db, progress), printDate);
}
