#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Error Report": what failed, in words, and what to do; the report itself (the sections, the failure's number, what
// the database said) behind "Details", with "Copy" for sending it to support.
class ErrorDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString supportAddress = QStringLiteral("support@norvane.example");
    static inline const QString whatToDo = QStringLiteral(
        "The program keeps running; the step that failed was not finished, and the backups are stopped until you "
        "choose System > Reset Error State. If it happens again, click Copy and send the report to");

    explicit ErrorDialog(QWidget* parent = nullptr);
    // `summary`: the failure as the user is told it; `text`: the whole report.
    void showReport(const QString& summary, const QString& text);
    QString summary() const;
    QString text() const;
    bool detailsShown() const;

private:
    QLabel* lblSummary;
    QPlainTextEdit* Text1;
    QPushButton* cmdDetails;
    QTimer Timer1;
};
