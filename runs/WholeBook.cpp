#include "WholeBook.h"

#include "CalculationRun.h"
#include "CaseReader.h"
#include "CsvText.h"
#include "Database.h"
#include "EstimatedTaxRun.h"
#include "MoneyText.h"
#include "Names.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "Statements.h"

#include <algorithm>

namespace {

// What a run says, kept: the message that stopped it is the last one.
class Kept : public RunReporter {
public:
    QStringList said;
    void message(const QString& text) override { said << text; }
    void notice(const QString& text) override { said << text; }
    void progress(int) override {}
    void progressVisible(bool) override {}
    void globalFailure(const QString& text) override { said << text; }
    bool passOnStoreFailures() const override { return true; }
};

// The ten totals in whole cents, in the order of [Summary Table]'s insert.
std::vector<qint64> centsOf(const SummaryTotals& t) {
    return {t.TotalInterest.cents(),      t.TotalFPPenalty.cents(), t.TotalFFPenalty.cents(),
            t.TotalAccPenalty.cents(),    t.unpaidTax.cents(),      t.TotalPmntAllctdInt.cents(),
            t.TotalPmntAllctdPen.cents(), t.otherPenalties.cents(), t.TotalFDepositPenalty.cents(),
            t.TotalBalance.cents()};
}

const QStringList& totalColumns() {
    static const QStringList columns = {Columns::totalInterest,
                                        Columns::summaryFailureToPayPenalty,
                                        Columns::summaryFailureToFilePenalty,
                                        Columns::totalAccPenalty,
                                        Columns::unpaidTax,
                                        Columns::pmntsAppToInterest,
                                        Columns::pmntsAppToPenalty,
                                        Columns::otherPenalties,
                                        Columns::totalFDepositPenalty,
                                        Columns::total};
    return columns;
}

const QString messageColumn = QStringLiteral("Message");
const QString estimatedColumn = QStringLiteral("Estimated Tax Penalty");

} // namespace

std::vector<WholeBook::Line> WholeBook::summaries(Database& db, const std::function<void(int, int)>& progress) {
    const int all = db.query(Sql::countAllTaxpayers()).value(0, 0).toInt();
    std::vector<Line> lines;
    lines.reserve(size_t(all));
    // One run for the whole book, which keeps the room its ledger took from one case to the next.
    Kept said;
    CalculationRun run(said);
    CaseReader(db).everyCase([&](const TaxpayerCase& tp) {
        Line line;
        line.number = tp.number;
        line.name = tp.name;
        line.endDate = tp.endDate;
        said.said.clear();
        SummaryTotals totals;
        if (run.summaryTotals(tp, &totals) == RunOutcome::Written)
            line.totals = totals;
        // The message that stopped the run, or the warnings of one that ended, as the single run shows them.
        line.message = said.said.join(QLatin1Char(' '));
        // Each tax year's estimated-tax penalty, as its own report figures it, added up.
        if (!tp.estimatedYears.empty()) {
            qint64 sum = 0;
            bool whole = true;
            for (const auto& year : tp.estimatedYears) {
                said.said.clear();
                EstimatedTaxRun estimated(said);
                if (estimated.run(tp.withEstimatedYear(year.figures.yearEnd)) == RunOutcome::Written) {
                    sum += estimated.result().total;
                } else {
                    whole = false;
                    const QString stopped = said.said.join(QLatin1Char(' '));
                    line.message += (line.message.isEmpty() ? QString() : QStringLiteral(" ")) +
                                    QStringLiteral("Estimated tax, year ending %1: %2")
                                        .arg(year.figures.yearEnd.toString(QStringLiteral("MM/dd/yyyy")), stopped);
                }
            }
            if (whole)
                line.estimatedTaxPenalty = sum;
        }
        lines.push_back(std::move(line));
        if (progress)
            progress(int(lines.size()), std::max(all, int(lines.size())));
    });
    return lines;
}

QString WholeBook::csv(const std::vector<Line>& lines) {
    QStringList header = {Columns::taxpayerNumber, Columns::taxpayerName, Columns::endDate};
    header << totalColumns() << estimatedColumn << messageColumn;
    QString out;
    for (const auto& h : header)
        out += (out.isEmpty() ? QString() : QStringLiteral(",")) + CsvText::text(h);
    out += QLatin1Char('\n');
    for (const auto& l : lines) {
        QStringList cells = {QString::number(l.number), CsvText::text(l.name),
                             l.endDate.toString(QStringLiteral("MM/dd/yyyy"))};
        if (l.totals)
            for (const qint64 cents : centsOf(*l.totals))
                cells << plainDecimal(cents, 2);
        else
            for (int i = 0; i < totalColumns().size(); ++i)
                cells << QString();
        cells << (l.estimatedTaxPenalty ? plainDecimal(*l.estimatedTaxPenalty, 2) : QString());
        cells << CsvText::text(l.message);
        out += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

RecordSet WholeBook::rows(const std::vector<Line>& lines) {
    QStringList fields = {Columns::taxpayerNumber, Columns::taxpayerName, Columns::endDate};
    fields << totalColumns() << estimatedColumn << messageColumn;
    RecordSet set(fields);
    for (const auto& l : lines) {
        QVariantList row = {l.number, l.name, l.endDate.isValid() ? QVariant(l.endDate) : QVariant()};
        if (l.totals)
            for (const qint64 cents : centsOf(*l.totals))
                row << double(cents) / 100.0;
        else
            for (int i = 0; i < totalColumns().size(); ++i)
                row << QVariant();
        row << (l.estimatedTaxPenalty ? QVariant(double(*l.estimatedTaxPenalty) / 100.0) : QVariant());
        row << l.message;
        set.append(row);
    }
    return set;
}
