#include "FileDialogs.h"

#include <QFileDialog>

namespace {
std::function<QString()>& next() {
    static std::function<QString()> n;
    return n;
}
} // namespace

QString FileDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                  const QString& filter) {
    if (next())
        return next()();
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}

QString FileDialogs::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter) {
    if (next())
        return next()();
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

void FileDialogs::setNextAnswer(std::function<QString()> answer) {
    next() = std::move(answer);
}
