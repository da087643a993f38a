#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;
class QListWidget;
class QLineEdit;
class QPushButton;

// Savefrm, "Copy Company To Disk": a click on a taxpayer asks for a file and writes the taxpayer into it.
class SaveTaxpayerDialog : public QDialog {
    Q_OBJECT
public:
    SaveTaxpayerDialog(const QString& newpath, QWidget* parent = nullptr);
    void saveTaxpayer(int number); // a click in the list
    // The file a save proposes: the taxpayer's name, made safe for a file name, with ".mdb", in `folder`.
    static QString proposedFile(const QString& folder, const QString& taxpayerName);

private:
    QString newpath;
    QListWidget* DataList1;
    QLineEdit* Text1;
    QLabel* done;
    QTimer Timer1;
};

// Copyfrm, "Copy Taxpayer From Disk": shows the taxpayer a chosen file holds and copies it in, once.
class RetrieveTaxpayerDialog : public QDialog {
    Q_OBJECT
public:
    RetrieveTaxpayerDialog(const QString& newpath, QWidget* parent = nullptr);
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
