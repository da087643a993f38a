#pragma once

#include "RunReporter.h"

// What a run says, kept instead of shown: for a run made to compare (another reading of a case), whose own message
// the run that asked for it says once, in its own words.
class KeptReporter : public RunReporter {
public:
    void message(const QString& text) override { said = text; }
    void notice(const QString& text) override { said = text; }
    void progress(int) override {}
    void progressVisible(bool) override {}
    QString said; // the last text
};
