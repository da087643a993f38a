#include "ReportFormat.h"

#include "MoneyText.h"
#include "Rounding.h"

#include <QDate>

namespace {

// MM/dd/yyyy, written directly: a list of many thousand rows formats a date for each.
QString usDate(const QDate& d) {
    if (!d.isValid() || d.year() < 1000 || d.year() > 9999)
        return d.toString(QStringLiteral("MM/dd/yyyy"));
    QString text(10, QLatin1Char('/'));
    auto put = [&text](int at, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            text[at + i] = QLatin1Char(char('0' + value % 10));
    };
    put(0, d.month(), 2);
    put(3, d.day(), 2);
    put(6, d.year(), 4);
    return text;
}

QString formatted(ReportFormat format, const QVariant& value) {
    switch (format) {
    case ReportFormat::Money:
        return groupedDecimal(Rounding::toCentsHalfEven(value.toDouble()), 2);
    case ReportFormat::Count:
        return groupedDecimal(Rounding::toScaledHalfEven(value.toDouble(), 0), 0);
    case ReportFormat::Percent:
        return groupedDecimal(Rounding::toScaledHalfEven(value.toDouble() * 100.0, 2), 2).remove(QLatin1Char(',')) +
               QLatin1Char('%');
    case ReportFormat::Factor:
        return groupedDecimal(Rounding::toScaledHalfEven(value.toDouble(), 8), 8);
    case ReportFormat::Date:
        return usDate(value.toDate());
    case ReportFormat::Text:
        return value.toString();
    }
    return value.toString();
}

} // namespace

QString formatReportValue(ReportFormat format, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QString();
    return formatted(format, value);
}

QString formatForDisplay(ReportFormat format, const QVariant& value) {
    try {
        return formatReportValue(format, value);
    } catch (const Rounding::ArithmeticFault&) {
        // Too large for its format: shown as a plain number rather than not at all.
        return QString::number(value.toDouble(), 'g', 15);
    }
}
