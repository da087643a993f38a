#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's file dialogs; tests install the next answer instead of a dialog.
namespace FileDialogs {
// A name typed without `suffix` gets it (the dialog asks before replacing a file of the completed name).
QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter,
                     const QString& suffix);
QString openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
// The answer replaces the dialog; it is given the name or folder the dialog would have proposed.
void setNextAnswer(std::function<QString(const QString& proposed)> answer);
} // namespace FileDialogs
