#include "ErrorHandler.h"

#include "ErrorDialog.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "StoreError.h"

namespace {
ErrorHandler::Window& window() {
    static ErrorHandler::Window w;
    return w;
}
QPointer<ErrorDialog>& dialog() {
    static QPointer<ErrorDialog> d;
    return d;
}
} // namespace

void ErrorHandler::attach(Window w) {
    window() = std::move(w);
}

void ErrorHandler::report(const Failure& failure) {
    if (window().stopBackups)
        window().stopBackups();
    Settings::setErrorState(true);
    if (window().showResetItem)
        window().showResetItem();
    const QString text = errorReportText(programTitle, ProgramVersion::current(), SectionTrail::current(),
                                         SectionTrail::previous(), SectionTrail::beforePrevious(), failure);
    if (!dialog())
        dialog() = new ErrorDialog();
    dialog()->showReport(failure.description, text);
}

void ErrorHandler::guard(const QString& section, const std::function<void()>& body) {
    SectionTrail::enter(section);
    try {
        body();
    } catch (const StoreError& e) {
        report({e.message(), failureStore, e.details()});
    } catch (const std::exception& e) {
        report({QString::fromStdString(e.what()), failureProgram});
    } catch (...) {
        report({QStringLiteral("Unknown failure"), failureUnknown});
    }
}

ErrorDialog* ErrorHandler::lastDialog() {
    return dialog();
}
