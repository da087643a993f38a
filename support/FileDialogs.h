#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's file dialogs; tests install the next answer instead of a dialog.
namespace FileDialogs {
QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter);
QString openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
void setNextAnswer(std::function<QString()> answer);
} // namespace FileDialogs
