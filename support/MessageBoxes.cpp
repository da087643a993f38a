#include "MessageBoxes.h"

#include "ErrorReportText.h"

#include <QMessageBox>

namespace {
std::function<void(const QString&)>& hook() {
    static std::function<void(const QString&)> h;
    return h;
}
} // namespace

void MessageBoxes::show(QWidget* parent, const QString& text) {
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox::information(parent, programTitle, text, QMessageBox::Ok);
}

void MessageBoxes::setHook(std::function<void(const QString&)> h) {
    hook() = std::move(h);
}
