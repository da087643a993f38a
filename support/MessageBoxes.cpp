#include "MessageBoxes.h"

#include "ErrorReportText.h"

#include <QMessageBox>

namespace {
std::function<void(const QString&)>& hook() {
    static std::function<void(const QString&)> h;
    return h;
}
std::function<bool(const QString&)>& askHook() {
    static std::function<bool(const QString&)> h;
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

bool MessageBoxes::ask(QWidget* parent, const QString& question) {
    if (askHook())
        return askHook()(question);
    return QMessageBox::question(parent, programTitle, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void MessageBoxes::setAskHook(std::function<bool(const QString&)> h) {
    askHook() = std::move(h);
}
