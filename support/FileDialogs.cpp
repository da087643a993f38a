#include "FileDialogs.h"

#include "MessageBoxes.h"
#include "ProgramFiles.h"
#include "Settings.h"
#include "StoreError.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
std::function<QString(const QString&)>& next() {
    static std::function<QString(const QString&)> n;
    return n;
}

QString withSuffix(QString chosen, const QString& suffix) {
    if (!chosen.isEmpty() && !chosen.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        chosen += QLatin1Char('.') + suffix;
    return chosen;
}
} // namespace

QString FileDialogs::writeRefusal(const QString& target) {
    const QFileInfo file(target);
    const QFileInfo folder(file.absolutePath());
    const QString shownFolder = QDir::toNativeSeparators(folder.absoluteFilePath());
    if (!folder.exists())
        return QStringLiteral("The folder %1 does not exist. Choose another folder, or make it first.")
            .arg(shownFolder);
    if (!folder.isDir())
        return QStringLiteral("%1 is not a folder. Choose a folder to save into.").arg(shownFolder);
    if (file.isDir())
        return QStringLiteral("%1 is a folder. Give the file a name.")
            .arg(QDir::toNativeSeparators(file.absoluteFilePath()));
    if (!folder.isWritable())
        return QStringLiteral("You may not write into the folder %1. Choose another folder.").arg(shownFolder);
    if (file.exists() && !file.isWritable())
        return QStringLiteral("The file %1 may only be read. Choose another name.")
            .arg(QDir::toNativeSeparators(file.absoluteFilePath()));
    return QString();
}

QString FileDialogs::targetRefusal(const QString& target) {
    if (QString why = writeRefusal(target); !why.isEmpty())
        return why;
    try {
        ProgramFiles::checkWriteTarget(target);
    } catch (const StoreError& e) {
        return e.message();
    }
    return QString();
}

QString FileDialogs::safeFileName(const QString& text, const QString& otherwise) {
    QString name;
    for (const QChar c : text.simplified())
        name += (c.isPrint() && !QStringLiteral("/\\:*?\"<>|").contains(c)) ? c : QLatin1Char('_');
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    int keep = std::min<int>(int(name.size()), 120);
    if (keep < name.size() && name[keep - 1].isHighSurrogate())
        --keep; // never half of a character
    name = name.left(keep).trimmed();
    return name.isEmpty() ? otherwise : name;
}

QString FileDialogs::proposedFolder() {
    for (const QString& recent : Settings::recentFiles())
        if (QFileInfo(QFileInfo(recent).absolutePath()).isDir())
            return QFileInfo(recent).absolutePath();
    return documentsFolder();
}

QString FileDialogs::documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString FileDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                  const QString& filter, const QString& suffix, const Check& check) {
    QString at = proposed;
    QString refusedBefore;
    for (;;) {
        QString chosen, typed;
        if (next()) {
            typed = next()(at);
            chosen = withSuffix(typed, suffix);
            // An answer that is refused twice over would ask for ever: it counts as a cancel.
            if (!chosen.isEmpty() && chosen == refusedBefore)
                return QString();
        } else {
            QFileDialog dialog(parent, caption, at, filter);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setDefaultSuffix(suffix);
            if (dialog.exec() == QDialog::Accepted) {
                typed = dialog.selectedFiles().value(0);
                chosen = withSuffix(typed, suffix);
            }
        }
        // A name with a dot of its own ("J. Smith") was asked about as typed; the file the suffix makes of it is
        // asked about here, before it is replaced.
        if (!chosen.isEmpty() && chosen != typed && QFileInfo(chosen).exists() &&
            !MessageBoxes::ask(
                parent,
                QStringLiteral("The file %1 already exists. Replace it?").arg(QDir::toNativeSeparators(chosen)))) {
            if (chosen == refusedBefore)
                return QString();
            refusedBefore = chosen;
            at = chosen;
            continue;
        }
        if (chosen.isEmpty() || !check)
            return chosen;
        const QString why = check(chosen);
        if (why.isEmpty())
            return chosen;
        MessageBoxes::show(parent, why);
        refusedBefore = chosen;
        at = chosen;
    }
}

QString FileDialogs::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) {
    if (next())
        return next()(folder);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString FileDialogs::existingFolder(QWidget* parent, const QString& caption, const QString& folder) {
    if (next())
        return next()(folder);
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

void FileDialogs::setNextAnswer(std::function<QString(const QString&)> answer) {
    next() = std::move(answer);
}
