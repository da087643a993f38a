#pragma once

#include <functional>

class Database;
class RunReporter;

enum class RunOutcome {
    Written, // the result is written (or shown) and the report timer armed
    Stopped, // ended after a message (a missing value or a failure)
    Notice,  // ended with the notice label instead (a payroll-tax case without deposits)
};

// The failure path every run shares: a RunNotice shows the notice and hides the progress bar; any other failure
// rolls back an open transaction, shows its text once in a message box, and resets and hides the progress bar. A
// failure of the store is thrown on, after the rollback, when the reporter asks for that.
RunOutcome guardedRun(Database& db, RunReporter& reporter, const std::function<void()>& body);
