#include "RunGuard.h"

#include "Database.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "StoreError.h"

RunOutcome guardedRun(Database* db, RunReporter& reporter, const std::function<void()>& body) {
    QString failure;
    bool notice = false;
    bool global = false;
    auto rollBack = [db] {
        if (db && db->inTransaction()) {
            try {
                db->rollback();
            } catch (const StoreError&) {
            }
        }
    };
    try {
        body();
        return RunOutcome::Written;
    } catch (const RunNotice& n) {
        failure = n.text();
        notice = true;
    } catch (const RunGlobalFailure& g) {
        failure = g.text();
        global = true;
    } catch (const RunStop& s) {
        failure = s.text();
    } catch (const StoreError& e) {
        if (reporter.passOnStoreFailures()) {
            rollBack();
            throw;
        }
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromStdString(e.what());
    }
    rollBack();
    if (notice) {
        reporter.notice(failure);
        reporter.progressVisible(false);
        return RunOutcome::Notice;
    }
    if (global)
        reporter.globalFailure(failure);
    else
        reporter.message(failure);
    reporter.progress(0);
    reporter.progressVisible(false);
    return RunOutcome::Stopped;
}
