#include "ReportFormat.h"

#include "MoneyText.h"
#include "Rounding.h"

#include <QDate>

namespace {

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
        return value.toDate().toString(QStringLiteral("MM/dd/yyyy"));
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
