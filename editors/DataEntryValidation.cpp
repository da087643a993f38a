#include "DataEntryValidation.h"

#include <QChar>

int DataEntryValidation(int keyAscii, const QString& tag) {
    constexpr int backspace = 8;
    if (keyAscii == backspace)
        return keyAscii;
    if (tag == QLatin1String("XBox"))
        return 'X';
    if (tag == QLatin1String("*Box"))
        return '*';
    if (tag == QLatin1String("Num"))
        return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == '.' || keyAscii == '-' ? keyAscii : 0;
    if (tag == QLatin1String("Amt"))
        return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == '.' ? keyAscii : 0;
    if (tag == QLatin1String("Chr")) {
        const int upper = QChar(keyAscii).toUpper().unicode();
        return upper == ' ' || (upper >= 'A' && upper <= 'Z') ? upper : 0;
    }
    if (tag == QLatin1String("Cbo"))
        return 0;
    return keyAscii;
}
