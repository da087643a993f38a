#pragma once

#include <functional>

class Database;
class RunReporter;

enum class RunOutcome {
    Written, // the result is made (and written, for a run that writes one): its report can be shown
    Stopped, // ended after a message (a missing value or a failure)
    Notice,  // ended with the notice label instead (a payroll-tax case without deposits)
};

// The failure path every run shares: a RunNotice shows the notice and hides the progress bar; any other failure
// rolls back an open transaction, shows its text once in a message box, and resets and hides the progress bar. A
// failure of the store is thrown on, after the rollback, when the reporter asks for that.
// `db` is the database the run writes to, or null for a run in memory.
RunOutcome guardedRun(Database* db, RunReporter& reporter, const std::function<void()>& body);
