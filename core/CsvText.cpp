#include "CsvText.h"

QString CsvText::field(const QString& value) {
    static const QString special = QStringLiteral(",\"\r\n");
    bool plain = true;
    for (const QChar c : value)
        plain = plain && !special.contains(c);
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvText::unformula(const QString& value) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!value.isEmpty() && formulaStarts.contains(value.front()))
        return QLatin1Char('\'') + value;
    return value;
}

QString CsvText::text(const QString& value) {
    return field(unformula(value));
}
