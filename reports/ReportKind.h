#pragma once

#include "ReportDefinition.h"
#include "RunGuard.h"
#include "RunResult.h"

#include <functional>
#include <vector>

class Database;
class RunReporter;
class TaxpayerRecord;

// The reports the program makes, each with the run that writes its rows, the layout that prints them (with its
// timer and title) and the names the user knows it by. The main window, talvoro-run and the tools all take them from
// here.
struct ReportKind {
    // A run fills `result` with the rows its report shows, and what talvoro-run prints of it.
    using Run = std::function<RunOutcome(Database&, RunReporter&, const TaxpayerRecord&, RunResult& result)>;

    QString key;     // as talvoro-run names it: "interest", "summary", "penalty", "payment", "deposit"
    QString command; // the main window's menu command: "mnuInterestReport" ...
    const ReportDefinition* layout;
    Run run; // empty: the report shows stored rows and has no run (the payment report)

    static const std::vector<ReportKind>& all();
    static const ReportKind* byKey(const QString& key);
    static const ReportKind* byCommand(const QString& command);
};
