#pragma once

#include "RecordSet.h"

#include <QString>

// What a run hands on to its report: the rows it wrote, as they were written (read back inside the transaction that
// wrote them, so that no other process's run can come between), and what the runner prints of it.
struct RunResult {
    RecordSet rows;
    QString printed; // "Estimated Tax Penalty: 68.51"; empty for most runs
};
