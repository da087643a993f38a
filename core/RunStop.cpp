#include "RunStop.h"

QString Messages::missing(const QString& label) {
    return QLatin1String("The '") + label + QLatin1String("' is missing.");
}

QDate Messages::required(const QDate& date, const QString& label) {
    if (!date.isValid())
        throw RunStop(missing(label));
    return date;
}
