#pragma once

#include <QDialog>

#include <functional>

// "Error State Reset": lets the user restart the backups once the data is safe.
class ErrorResetWindow : public QDialog {
    Q_OBJECT
public:
    static const QString explanation;
    // `restartBackups` starts the main window's backup timer again.
    ErrorResetWindow(std::function<void()> restartBackups, QWidget* parent = nullptr);
};
