#pragma once

#include <QString>

// The program's version as the error report, the About and the splash windows show it.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
    // "Version " + major + "." + minor + revision: 3, 0, 5 gives "Version 3.05".
    QString text() const;
    static ProgramVersion current();
};

inline const QString programTitle = QStringLiteral("Norvane Talvoro");

// The number a report gives a failure, by kind.
inline constexpr qint64 failureStore = 1;   // the database refused or could not be opened
inline constexpr qint64 failureProgram = 2; // any other failure the program detected
inline constexpr qint64 failureUnknown = 3;

struct Failure {
    QString description; // what the user is told
    qint64 number = 0;
    QString details = {}; // what the database said, the statement: in the report only
};

// The text of the error report for a failure in `current`, with the two sections entered before it when there are.
QString errorReportText(const QString& title, const ProgramVersion& version, const QString& current,
                        const QString& previous, const QString& beforePrevious, const Failure& failure);
