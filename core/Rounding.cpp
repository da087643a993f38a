#include "Rounding.h"

#include <cmath>
#include <limits>

namespace Rounding {
namespace {

[[noreturn]] void overflow() {
    throw ArithmeticFault(overflowText);
}

// std::nearbyint rounds exact halves to the even neighbour in the default rounding mode, which the program
// never changes.
double halfEven(double value) {
    if (!std::isfinite(value))
        overflow();
    return std::nearbyint(value);
}

} // namespace

qint64 toScaledHalfEven(double value, int decimals) {
    const double r = halfEven(value * std::pow(10.0, decimals));
    if (r < -9.2233720368547e18 || r > 9.2233720368547e18)
        overflow();
    return static_cast<qint64>(r);
}

qint64 toCentsHalfEven(double value) {
    const double r = halfEven(value * 100.0);
    if (r < -9.2233720368547e18 || r > 9.2233720368547e18)
        overflow();
    return static_cast<qint64>(r);
}

qint64 toWholeHalfEven(double value) {
    const double r = halfEven(value);
    if (r < -9.2233720368547e18 || r > 9.2233720368547e18)
        overflow();
    return static_cast<qint64>(r);
}

qint16 toInt16(double value) {
    const double r = halfEven(value);
    if (r < double(std::numeric_limits<qint16>::min()) || r > double(std::numeric_limits<qint16>::max()))
        overflow();
    return static_cast<qint16>(r);
}

qint64 divideHalfEven(__int128 numerator, qint64 denominator) {
    __int128 q = numerator / denominator;
    __int128 r = numerator % denominator;
    if (r < 0) { // floor division, so that the remainder is from 0 to denominator - 1
        q -= 1;
        r += denominator;
    }
    if (2 * r > denominator || (2 * r == denominator && q % 2 != 0))
        ++q;
    if (q > std::numeric_limits<qint64>::max() || q < std::numeric_limits<qint64>::min())
        overflow();
    return qint64(q);
}

} // namespace Rounding
