#pragma once

#include <QString>

// The names of the last three procedures entered, for the error report. Every handler records its section name
// ("frmMain.Form_Load") before it does anything else.
class SectionTrail {
public:
    static void enter(const QString& section);
    static const QString& current();
    static const QString& previous();
    static const QString& beforePrevious();
    static void clear();
};
