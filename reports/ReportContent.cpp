#include "ReportContent.h"

#include "MoneyText.h"
#include "Rounding.h"

#include <QHash>

QString reportTitle(const ReportDefinition& definition, const QString& taxpayerName, const QDate& originalDueDate,
                    const QDate& endDate) {
    return taxpayerName + QLatin1Char('\n') + definition.titleText +
           formatReportValue(ReportFormat::Date, originalDueDate) + QLatin1Char('\n') +
           QStringLiteral("Report calculated to ") + formatReportValue(ReportFormat::Date, endDate);
}

ReportContent ReportContent::build(const ReportDefinition& definition, const RecordSet& rows, const QString& title,
                                   const QDate& printDate) {
    ReportContent c;
    c.definition = &definition;
    c.title = title;
    c.printDate = printDate;
    const auto& columns = definition.columns;

    auto detail = [&](int row) {
        Line line;
        for (const auto& column : columns)
            line.cells << formatReportValue(column.format, rows.value(row, column.field));
        return line;
    };

    if (definition.captionedBlock) {
        if (!rows.isEmpty())
            c.lines.push_back(detail(0));
        return c;
    }

    // A row whose printed columns are all empty (a CSV-only column aside).
    auto printsNothing = [&columns](const Line& line) {
        for (size_t i = 0; i < columns.size(); ++i)
            if (!columns[i].csvOnly && !line.cells[int(i)].isEmpty())
                return false;
        return true;
    };
    std::vector<int> order;
    if (definition.groupField) {
        // One header per distinct key, its rows in query order, the groups in order of first appearance.
        QHash<QString, int> groupOf;
        std::vector<std::pair<QString, std::vector<int>>> groups;
        for (int r = 0; r < rows.size(); ++r) {
            const QVariant& key = rows.value(r, *definition.groupField);
            const QString text = key.isValid() ? key.toString() : QString();
            auto it = groupOf.find(text);
            if (it == groupOf.end()) {
                it = groupOf.insert(text, int(groups.size()));
                groups.push_back({text, {}});
            }
            groups[size_t(*it)].second.push_back(r);
        }
        for (const auto& [key, members] : groups) {
            Line header;
            header.groupHeader = true;
            header.header =
                definition.groupCaption.isEmpty() ? key : definition.groupCaption + QStringLiteral(": ") + key;
            c.lines.push_back(header);
            for (const int r : members) {
                Line line = detail(r);
                if (definition.headingOnlyRows && printsNothing(line))
                    continue;
                c.lines.push_back(std::move(line));
                order.push_back(r);
            }
        }
    } else {
        for (int r = 0; r < rows.size(); ++r) {
            c.lines.push_back(detail(r));
            order.push_back(r);
        }
    }

    for (const auto& column : columns) {
        if (!column.total) {
            c.totals << QString();
            continue;
        }
        qint64 cents = 0;
        for (const int r : order) {
            const QVariant& v = rows.value(r, column.field);
            // A total beyond the range of whole cents is an overflow, never a wrapped figure.
            if (v.isValid() && __builtin_add_overflow(cents, Rounding::toCentsHalfEven(v.toDouble()), &cents))
                throw Rounding::ArithmeticFault(Rounding::overflowText);
        }
        c.totals << groupedDecimal(cents, 2);
    }
    return c;
}

int ReportContent::detailCount() const {
    int n = 0;
    for (const auto& l : lines)
        n += l.groupHeader ? 0 : 1;
    return n;
}
