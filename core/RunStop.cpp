#include "RunStop.h"

QString Messages::missing(const QString& label) {
    return QLatin1String("The '") + label + QLatin1String("' is missing.");
}
