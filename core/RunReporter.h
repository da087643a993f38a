#pragma once

#include <QString>

// What a run shows the user, through the main window or, without a window, the command-line runner and tests.
class RunReporter {
public:
    virtual ~RunReporter() = default;
    // A message box with an OK button only.
    virtual void message(const QString& text) = 0;
    // The main window's notice label (Label4) with the timer that hides it again.
    virtual void notice(const QString& text) = 0;
    virtual void progress(int value) = 0;
    virtual void progressVisible(bool visible) = 0;
    // A failure for the global error handler; without a window it is shown as a message.
    virtual void globalFailure(const QString& description) { message(description); }
    // Whether a failure of the store (a locked or damaged database) ends the caller too instead of being shown as
    // the run's own message: a whole book must not carry "database is locked" as one taxpayer's result.
    virtual bool passOnStoreFailures() const { return false; }
};
