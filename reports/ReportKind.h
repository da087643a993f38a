#pragma once

#include "ReportDefinition.h"
#include "RunGuard.h"
#include "RunResult.h"
#include "TaxpayerCase.h"

#include <functional>
#include <vector>

class Database;
class RunReporter;

// The interval of every report timer: the run's rows are handed on at once, so the timer only lets the window finish
// the command before the preview opens.
inline constexpr int reportTimerMs = 500;

// The reports the program makes, each with the run that makes its rows, the layout that prints them and the names the
// user and the window know it by. The main window, talvoro-run and the tools all take them from here.
struct ReportKind {
    // A run fills `result` with the rows its report shows (from its own result, never read back) and what
    // talvoro-run prints of it.
    using Run = std::function<RunOutcome(Database&, RunReporter&, const TaxpayerCase&, RunResult& result)>;

    QString key;     // as talvoro-run names it: "interest", "summary", "penalty", "payment", "deposit", "estimated"
    QString command; // the main window's menu command: "mnuInterestReport" ...
    QString timer;   // the main window's timer that shows the report ("Timer7"); talvoro-run prints it
    const ReportDefinition* layout;
    Run run; // empty: the report shows stored rows and has no run (the payment report)

    static const std::vector<ReportKind>& all();
    static const ReportKind* byKey(const QString& key);
    static const ReportKind* byCommand(const QString& command);
};
