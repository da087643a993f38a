#pragma once

#include <QString>

#include <gtest/gtest.h>

#include <ostream>

// GoogleTest would print a QString as a container of QChar; failures read better as text.
namespace testing::internal {
template <> class UniversalPrinter<QString> {
public:
    static void Print(const QString& value, ::std::ostream* os) { *os << '"' << value.toStdString() << '"'; }
};
} // namespace testing::internal

#include "Money.h"
#include "MoneyText.h"

// Money and rates print as the figures they are.
inline void PrintTo(const Money& m, ::std::ostream* os) {
    *os << plainDecimal(m.cents(), 2).toStdString();
}
inline void PrintTo(const Rate& r, ::std::ostream* os) {
    *os << plainDecimal(r.millionths(), 6).toStdString();
}
