#include "ErrorResetWindow.h"

#include "SectionTrail.h"
#include "Settings.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

const QString ErrorResetWindow::explanation = QStringLiteral(
    "Normally the program automatically creates backup files that can be used to restore the main data file after "
    "an error has potentially corrupted the file. When an error occurs the backup process is automatically stopped "
    "in order to preserve any of the uncorrupted backups files."
    "                    "
    "This display and the Reset Error State command below are only visible when an error has been encountered and "
    "that backup process has been stopped. Clicking on the Reset Error State command below will restart the backup "
    "file making process and will eventually overwrite any existing backup files with the current data whether the "
    "data is error free or not. It is recommended that you save the backup files to a safe directory before "
    "clicking on the Reset Error State command.");

ErrorResetWindow::ErrorResetWindow(std::function<void()> restartBackups, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmErrorReset"));
    setWindowTitle(QStringLiteral("Error State Reset"));
    setModal(true);
    // The stored label pads between its two paragraphs; shown here as a paragraph break.
    QString shown = explanation;
    shown.replace(QStringLiteral("files.                    This"), QStringLiteral("files.\n\nThis"));
    auto* label = new QLabel(shown, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    auto* button = new QPushButton(QStringLiteral("Reset Error State"), this);
    button->setObjectName(QStringLiteral("cmdResetError"));
    connect(button, &QPushButton::clicked, this, [this, restartBackups] {
        SectionTrail::enter(QStringLiteral("frmErrorReset.cmdResetError_Click"));
        if (restartBackups)
            restartBackups();
        Settings::setErrorState(false);
        close();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    setMinimumWidth(520);
}
