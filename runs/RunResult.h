#pragma once

#include "RecordSet.h"

#include <QString>

// What a run hands on to its report: the rows of its own result, the same rows it wrote (never read back, so that no
// other process's run can come between), and what the runner prints of it.
struct RunResult {
    RecordSet rows;
    QString printed; // "Estimated Tax Penalty: 68.51"; empty for most runs
};
