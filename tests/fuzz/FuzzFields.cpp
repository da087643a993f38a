// What a user types into an editor field: the keystroke filter keeps to its rules, and a text read as a date, an
// amount or a rate is one, or is refused.
#include "DataEntryValidation.h"
#include "FieldText.h"

#include <QDate>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const int key = data[i];
        const int num = DataEntryValidation(key, QStringLiteral("Num"));
        if (num != 0 && num != 8 && !(num >= '0' && num <= '9') && num != '.' && num != '-')
            std::abort();
        const int chr = DataEntryValidation(key, QStringLiteral("Chr"));
        if (chr != 0 && chr != 8 && chr != ' ' && !(chr >= 'A' && chr <= 'Z'))
            std::abort();
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QVariant v;
    if (FieldText::parse(FieldKind::Date, text, 0, &v) && v.isValid() &&
        !QDate::fromString(v.toString(), Qt::ISODate).isValid())
        std::abort();
    for (const FieldKind kind : {FieldKind::Money, FieldKind::Rate})
        if (FieldText::parse(kind, text, 0, &v) && v.isValid()) {
            if (!std::isfinite(v.toDouble()))
                std::abort();
            FieldText::shown(kind, v);
            FieldText::editing(kind, v);
        }
    if (FieldText::parse(FieldKind::Text, text, 150, &v) && v.toString().size() > 150)
        std::abort();
    return 0;
}
