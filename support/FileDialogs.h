#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's file dialogs; tests install the next answer instead of a dialog.
namespace FileDialogs {
// Why a chosen file cannot be written ("The folder ... does not exist."), or empty when it can.
using Check = std::function<QString(const QString& chosen)>;
// A name typed without `suffix` gets it (the dialog asks before replacing a file of the completed name). With a
// `check`, a refused choice is said and the chooser opens again where it was, until a choice passes or the user
// cancels.
QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter,
                     const QString& suffix, const Check& check = {});
QString openFileName(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);
QString existingFolder(QWidget* parent, const QString& caption, const QString& folder);
// Why `target` cannot be written: its folder is missing or cannot be written, or it is a folder itself; empty when
// nothing stands in the way (the program's own files are refused by the store).
QString writeRefusal(const QString& target);
// writeRefusal, then the program's own files (its database, template and backups), which are never a target.
QString targetRefusal(const QString& target);
// `text` (a taxpayer's name, a report's) as a file name: characters that a file name cannot hold become "_", and
// a name that would be hidden or empty is not.
QString safeFileName(const QString& text, const QString& otherwise);
// The user's documents folder, or the home folder where there is none.
QString documentsFolder();
// Where a taxpayer file is first proposed: the folder of the most recent one, or the documents folder.
QString proposedFolder();
// The answer replaces the dialog; it is given the name or folder the dialog would have proposed.
void setNextAnswer(std::function<QString(const QString& proposed)> answer);
} // namespace FileDialogs
