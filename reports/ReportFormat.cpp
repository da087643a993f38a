#include "ReportFormat.h"

#include "Rounding.h"

#include <QDate>

#include <cmath>

QString groupedDecimal(qint64 units, int decimals) {
    const bool negative = units < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(units) : quint64(units);
    quint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    QString whole = QString::number(magnitude / scale);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(','));
    QString text = whole;
    if (decimals > 0)
        text += QLatin1Char('.') + QStringLiteral("%1").arg(magnitude % scale, decimals, 10, QLatin1Char('0'));
    return negative && magnitude != 0 ? QLatin1Char('-') + text : text;
}

namespace {

qint64 scaledHalfEven(double value, int decimals) {
    const double scaled = std::nearbyint(value * std::pow(10.0, decimals));
    if (!std::isfinite(scaled) || std::fabs(scaled) > 9.2e18)
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    return qint64(scaled);
}

} // namespace

namespace {

QString formatted(ReportFormat format, const QVariant& value) {
    switch (format) {
    case ReportFormat::Money:
        return groupedDecimal(Rounding::toCentsHalfEven(value.toDouble()), 2);
    case ReportFormat::Count:
        return groupedDecimal(scaledHalfEven(value.toDouble(), 0), 0);
    case ReportFormat::Percent:
        return groupedDecimal(scaledHalfEven(value.toDouble() * 100.0, 2), 2).remove(QLatin1Char(',')) +
               QLatin1Char('%');
    case ReportFormat::Factor:
        return groupedDecimal(scaledHalfEven(value.toDouble(), 8), 8);
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
    try {
        return formatted(format, value);
    } catch (const Rounding::ArithmeticFault&) {
        // Too large for its format: shown as a plain number rather than not at all.
        return QString::number(value.toDouble(), 'g', 15);
    }
}
