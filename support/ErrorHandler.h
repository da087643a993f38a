#pragma once

#include "ErrorReportText.h"

#include <QPointer>

#include <functional>

class ErrorDialog;

// The one place every unexpected failure ends: stops the backups, stores "ErrorState" = "True", shows the
// "Reset Error State" item and the error report. It ends nothing; the failed handler simply stops.
class ErrorHandler {
public:
    // What the main window lends the handler.
    struct Window {
        std::function<void()> stopBackups;
        std::function<void()> showResetItem;
    };
    static void attach(Window window);

    static void report(const Failure& failure);
    // Runs a handler body under its section name; any exception it lets escape is reported.
    static void guard(const QString& section, const std::function<void()>& body);

    // The report window last shown (for tests and screenshots).
    static ErrorDialog* lastDialog();
};
