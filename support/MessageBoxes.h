#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here: an OK button only, the program's title. Tests install a
// hook that takes the text instead of showing a box.
namespace MessageBoxes {
void show(QWidget* parent, const QString& text);
void setHook(std::function<void(const QString&)> hook);
} // namespace MessageBoxes
