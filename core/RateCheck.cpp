#include "RateCheck.h"

namespace RateCheck {

bool acceptable(double rate) {
    return rate >= 0 && rate < 1;
}

QString refusal(double rate) {
    if (acceptable(rate))
        return QString();
    return QStringLiteral("a rate of %1 is not a decimal fraction from 0 to 1 (0.07 for 7 %)").arg(rate);
}

bool acceptable(Rate rate) {
    return rate.millionths() >= 0 && rate.millionths() < 1000000;
}

QString refusal(Rate rate) {
    return acceptable(rate) ? QString() : refusal(rate.toDouble());
}

} // namespace RateCheck
