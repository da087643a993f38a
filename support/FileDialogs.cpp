#include "FileDialogs.h"

#include <QFileDialog>

namespace {
std::function<QString(const QString&)>& next() {
    static std::function<QString(const QString&)> n;
    return n;
}
} // namespace

QString FileDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                  const QString& filter, const QString& suffix) {
    QString chosen;
    if (next()) {
        chosen = next()(proposed);
    } else {
        QFileDialog dialog(parent, caption, proposed, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(suffix);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedFiles().value(0);
    }
    if (!chosen.isEmpty() && !chosen.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        chosen += QLatin1Char('.') + suffix;
    return chosen;
}

QString FileDialogs::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) {
    if (next())
        return next()(folder);
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

void FileDialogs::setNextAnswer(std::function<QString(const QString&)> answer) {
    next() = std::move(answer);
}
