#include "FieldText.h"

#include "ReportFormat.h"
#include "Schema.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace {

// A stored date ("yyyy-MM-dd", as the store keeps it), read without the general parser.
QDate storedDate(const QVariant& stored) {
    if (stored.typeId() == QMetaType::QDate || stored.typeId() == QMetaType::QDateTime)
        return stored.toDate();
    const QString s = stored.toString();
    auto digits = [&s](int from, int count, int* value) {
        *value = 0;
        for (int i = from; i < from + count; ++i) {
            if (!s[i].isDigit())
                return false;
            *value = *value * 10 + s[i].digitValue();
        }
        return true;
    };
    int y = 0, m = 0, d = 0;
    if (s.size() == 10 && s[4] == QLatin1Char('-') && s[7] == QLatin1Char('-') && digits(0, 4, &y) &&
        digits(5, 2, &m) && digits(8, 2, &d))
        return QDate(y, m, d);
    return QDate::fromString(s, Qt::ISODate);
}

} // namespace

namespace FieldText {

QString shown(FieldKind kind, const QVariant& stored) {
    if (!stored.isValid() || stored.isNull())
        return QString();
    switch (kind) {
    case FieldKind::Date:
        return formatForDisplay(ReportFormat::Date, storedDate(stored));
    case FieldKind::Money:
        return formatForDisplay(ReportFormat::Money, stored.toDouble());
    case FieldKind::Rate:
        return formatForDisplay(ReportFormat::Percent, stored.toDouble());
    case FieldKind::Text:
        return stored.toString();
    }
    return stored.toString();
}

QString editing(FieldKind kind, const QVariant& stored) {
    if (kind == FieldKind::Rate && stored.isValid() && !stored.isNull()) {
        // "0.00", unless that would lose digits of the stored rate.
        const double v = stored.toDouble();
        const QString twoPlaces = QString::number(v, 'f', 2);
        return twoPlaces.toDouble() == v ? twoPlaces : QString::number(v, 'g', 15);
    }
    return shown(kind, stored);
}

bool parse(FieldKind kind, const QString& raw, int maxLength, QVariant* stored) {
    const QString text = raw.trimmed();
    if (text.isEmpty()) {
        *stored = QVariant();
        return true;
    }
    switch (kind) {
    case FieldKind::Date: {
        static const QRegularExpression form(QStringLiteral("^(\\d{1,2})[/-](\\d{1,2})[/-](\\d{4})$"));
        const auto m = form.match(text);
        const QDate d =
            m.hasMatch() ? QDate(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt()) : QDate();
        if (!d.isValid())
            return false;
        *stored = d.toString(Qt::ISODate);
        return true;
    }
    case FieldKind::Money:
    case FieldKind::Rate: {
        QString number = text;
        number.remove(QLatin1Char(','));
        const bool percent = number.endsWith(QLatin1Char('%'));
        if (percent)
            number.chop(1);
        bool ok = false;
        double v = number.toDouble(&ok);
        if (!ok || !std::isfinite(v))
            return false;
        if (percent)
            v /= 100.0;
        if (kind == FieldKind::Money && std::fabs(v) > Schema::largestAmount)
            return false;
        *stored = v;
        return true;
    }
    case FieldKind::Text:
        // What is stored is what was typed, blanks included: that is what must fit.
        if (maxLength > 0 && raw.size() > maxLength)
            return false;
        *stored = raw;
        return true;
    }
    return false;
}

} // namespace FieldText
