#pragma once

#include <QDialog>
#include <QTimer>

class QPlainTextEdit;

// "Error Report": the report text, ready to copy, and the support address.
class ErrorDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString supportAddress = QStringLiteral("support@norvane.example");

    explicit ErrorDialog(QWidget* parent = nullptr);
    void showReport(const QString& text);
    QString text() const;

private:
    QPlainTextEdit* Text1;
    QTimer Timer1;
};
