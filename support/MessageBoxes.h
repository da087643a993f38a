#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, with the program's title: a message with an OK button only,
// or a question with Yes and No whose default is No. Tests install hooks that take the text (and give the answer)
// instead of showing a box.
namespace MessageBoxes {
void show(QWidget* parent, const QString& text);
bool ask(QWidget* parent, const QString& question);
void setHook(std::function<void(const QString&)> hook);
void setAskHook(std::function<bool(const QString&)> hook);
} // namespace MessageBoxes
