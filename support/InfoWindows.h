#pragma once

#include <QDialog>
#include <QTimer>

class QPdfDocument;

// "About": title, version, the maker's site and the system information button.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    static inline const QString noSystemInfo = QStringLiteral("System Information Is Unavailable At This Time");
    explicit AboutWindow(QWidget* parent = nullptr);
};

// The splash window: product, version and platforms; closes after 7000 ms, on a key or a click.
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int showMs = 7000;
    explicit SplashWindow(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer closer;
};

// Asks before a shipped publication is shown, naming the viewer it opens in.
class StartDocumentPrompt : public QDialog {
    Q_OBJECT
public:
    static inline const QString viewerText = QStringLiteral(
        "The publication opens in Talvoro's own PDF viewer, a window of the program, where it can be read and "
        "printed (Print Form).");
    explicit StartDocumentPrompt(QWidget* parent = nullptr);
};

// "Instructions": a shipped PDF document shown inside the program, with "Print Form". A missing file leaves it empty.
class InstructionsWindow : public QDialog {
    Q_OBJECT
public:
    InstructionsWindow(const QString& file, QWidget* parent = nullptr);
    int pageCount() const;

private:
    QPdfDocument* document;
};

// "Help Contents": the program's own help pages.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(const QString& indexPage, QWidget* parent = nullptr);
};

// "Set Drive and Directory": the data directory, stored as "Newpath", typed or chosen with Browse; a folder that does
// not exist or cannot be written is refused.
class SetDriveDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString noDatabaseWarning =
        QStringLiteral("The directory %1 does not hold the main data file, kelvadat.mdb.");
    static inline const QString nextStart = QStringLiteral("The new location is used from the next start.");
    explicit SetDriveDialog(QWidget* parent = nullptr);
    // Stores the typed directory with a trailing separator; returns the warning shown, if any.
    QString saveChange(const QString& typed);
    // Why the typed folder is refused, or empty.
    static QString refusal(const QString& typed);
};
