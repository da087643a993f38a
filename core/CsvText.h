#pragma once

#include <QString>

// Text as a CSV file holds it (RFC 4180).
namespace CsvText {

// A number or date the program formatted: as it is, or between double quotes (quotes doubled) when it holds a
// comma, a quote, a carriage return or a line feed.
QString field(const QString& value);

// A text that came from a user or a file (a name, a message): quoted as a field is, and first kept from being read as
// a formula by a spreadsheet: one that begins with "=", "+", "-", "@", a tab or a carriage return gets a leading
// apostrophe, as spreadsheet programs document.
QString text(const QString& value);

// A text kept from being read as a formula in the same way, without the quoting: for a tab-separated copy, which
// replaces its tabs and line breaks by spaces.
QString unformula(const QString& value);

} // namespace CsvText
