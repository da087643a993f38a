#pragma once

#include <QString>

// Text as a CSV file holds it.
namespace CsvText {

// A field: as it is, or between double quotes (quotes doubled) when it holds a comma, a quote or a line break.
QString field(const QString& value);

} // namespace CsvText
