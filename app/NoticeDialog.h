#pragma once

#include "NoticeCheck.h"

#include <QDialog>

#include <map>
#include <optional>

class QComboBox;
class QLineEdit;

// What an IRS notice says, typed or read from a notice file, to set beside the program's computation: the kind, the
// notice's date, the date its amounts are figured to and its lines. Check hands the notice on; Save keeps what was
// typed in a notice file, which Read brings back.
class NoticeDialog : public QDialog {
    Q_OBJECT
public:
    explicit NoticeDialog(const QString& taxpayerName, QWidget* parent = nullptr);

    // The notice as typed; empty after telling the user what to correct.
    std::optional<NoticeCheck::Notice> notice();
    void fill(const NoticeCheck::Notice& notice);
    // The notice as a notice file holds it.
    QString fileText();

signals:
    void checkWanted();

private:
    QComboBox* kind;
    QLineEdit* noticeDate;
    QLineEdit* figuredTo;
    std::map<NoticeCheck::Item, QLineEdit*> amounts;
    void readFile();
    void saveFile();
};
