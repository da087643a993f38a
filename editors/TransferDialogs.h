#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

class QLabel;
class QListWidget;
class QLineEdit;
class QPushButton;

// Savefrm, "Copy Taxpayer To Disk": a click on a taxpayer asks for a file and writes the taxpayer into it, then says
// where it went.
class SaveTaxpayerDialog : public QDialog {
    Q_OBJECT
public:
    SaveTaxpayerDialog(const QString& newpath, QWidget* parent = nullptr);
    void saveTaxpayer(int number);              // a click in the list
    void saveClient(const QString& clientCode); // every return of the client into one file
    // The file a save proposes: the taxpayer's name, made safe for a file name, with ".mdb", in `folder`.
    static QString proposedFile(const QString& folder, const QString& taxpayerName);
    const QString& lastSaved() const { return savedTo; }

private:
    // The save of `numbers` into a file the user chooses, proposed as `name`; `savedText` says where it went.
    void saveInto(const QList<int>& numbers, const QString& name,
                  const std::function<QString(const QString& savedTo)>& savedText);
    QString savedTo;
    QString newpath;
    QListWidget* DataList1;
    QLineEdit* Text1;
    QLabel* done;
    QTimer Timer1;
};

// Copyfrm, "Copy Taxpayer From Disk": shows the taxpayer a chosen file (or the one given, from the recent files)
// holds and copies it in, once; a number already taken is offered a new one.
class RetrieveTaxpayerDialog : public QDialog {
    Q_OBJECT
public:
    RetrieveTaxpayerDialog(const QString& newpath, QWidget* parent = nullptr, const QString& file = QString());
    bool hasFile() const { return !file.isEmpty(); }
    void copyTaxpayer(); // Command1

private:
    QString newpath;
    QString file;
    QLineEdit* txtFields0;
    QLabel* done;
    QLabel* refusal;
    QPushButton* Command1;
};
