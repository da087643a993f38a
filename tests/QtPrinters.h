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
