#include "FieldText.h"

#include "ReportFormat.h"
#include "Schema.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace FieldText {

QString shown(FieldKind kind, const QVariant& stored) {
    if (!stored.isValid() || stored.isNull())
        return QString();
    switch (kind) {
    case FieldKind::Date:
        return formatForDisplay(ReportFormat::Date, stored.toDate().isValid()
                                                        ? QVariant(stored.toDate())
                                                        : QVariant(QDate::fromString(stored.toString(), Qt::ISODate)));
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
