#pragma once

#include <QString>
#include <QVariant>

// How a report shows a value.
enum class ReportFormat {
    Money,   // "#,##0.00"
    Count,   // "#,##0"
    Percent, // "0.00%"
    Factor,  // "#,##0.00000000"
    Date,    // MM/dd/yyyy
    Text,
};

// The value as printed; an empty value prints empty. Decimals are rounded half to even. A value too large for its
// format is an overflow (Rounding::ArithmeticFault): a report never prints a wrapped figure.
QString formatReportValue(ReportFormat format, const QVariant& value);
// The same for a field on screen, where a value too large for its format shows as a plain number.
QString formatForDisplay(ReportFormat format, const QVariant& value);
