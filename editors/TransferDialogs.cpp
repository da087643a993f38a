#include "TransferDialogs.h"

#include "FileDialogs.h"
#include "MessageBoxes.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The file dialogs' filter: the stored "(*.mdb)|*.mdb" in the form Qt's dialogs read.
const QString dialogFilter = QStringLiteral("Databases (*.mdb)");
} // namespace

SaveTaxpayerDialog::SaveTaxpayerDialog(const QString& path, QWidget* parent) : QDialog(parent), newpath(path) {
    setObjectName(QStringLiteral("Savefrm"));
    setWindowTitle(QStringLiteral("Copy Company To Disk"));
    setAttribute(Qt::WA_DeleteOnClose);
    DataList1 = new QListWidget(this);
    DataList1->setObjectName(QStringLiteral("DataList1"));
    SqliteDatabase db(Settings::databasePath(newpath));
    const RecordSet rows = db.query(Sql::selectAllTaxpayers());
    for (int i = 0; i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(rows.value(i, QStringLiteral("Taxpayer Name")).toString(), DataList1);
        item->setData(Qt::UserRole, rows.value(i, QStringLiteral("Taxpayer Number")).toInt());
    }
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    done = new QLabel(QStringLiteral("Done"), this);
    done->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Click the taxpayer to save:"), this));
    layout->addWidget(DataList1, 1);
    layout->addWidget(Text1);
    layout->addWidget(done);
    connect(DataList1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { saveTaxpayer(item->data(Qt::UserRole).toInt()); });
    Timer1.setSingleShot(true);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] {
        SectionTrail::enter(QStringLiteral("Savefrm.Timer1_Timer"));
        close();
    });
    resize(420, 360);
}

void SaveTaxpayerDialog::saveTaxpayer(int number) {
    SectionTrail::enter(QStringLiteral("Savefrm.DataList1_Click"));
    DataList1->setEnabled(false);
    done->hide();
    const QString target =
        FileDialogs::saveFileName(this, windowTitle(), newpath + Settings::templateFileName, dialogFilter);
    if (target.isEmpty()) {
        Timer1.start();
        return;
    }
    try {
        SqliteDatabase db(Settings::databasePath(newpath), SqliteDatabase::Mode::ReadOnly);
        const RecordSet name = db.query(Sql::selectTaxpayerName(number));
        Text1->setText(name.isEmpty() ? QString() : name.value(0, 0).toString());
    } catch (const StoreError&) {
    }
    try {
        TaxpayerTransfer::save(Settings::databasePath(newpath), newpath + Settings::templateFileName, target, number);
        done->show();
    } catch (const StoreError& e) {
        MessageBoxes::show(this, e.message());
    }
    Timer1.start();
}

RetrieveTaxpayerDialog::RetrieveTaxpayerDialog(const QString& path, QWidget* parent) : QDialog(parent), newpath(path) {
    setObjectName(QStringLiteral("Copyfrm"));
    setWindowTitle(QStringLiteral("Copy Taxpayer From Disk"));
    setAttribute(Qt::WA_DeleteOnClose);
    txtFields0 = new QLineEdit(this);
    txtFields0->setObjectName(QStringLiteral("txtFields0"));
    txtFields0->setReadOnly(true);
    Command1 = new QPushButton(QStringLiteral("Copy Taxpayer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    done = new QLabel(QStringLiteral("Done"), this);
    done->hide();
    refusal = new QLabel(this);
    refusal->setObjectName(QStringLiteral("lblRefusal"));
    refusal->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Taxpayer Name:"), this));
    layout->addWidget(txtFields0);
    layout->addWidget(Command1);
    layout->addWidget(refusal);
    layout->addWidget(done);
    connect(Command1, &QPushButton::clicked, this, [this] { copyTaxpayer(); });
    setMinimumWidth(380);

    file = FileDialogs::openFileName(parent, windowTitle(), newpath, dialogFilter);
    if (file.isEmpty())
        return;
    try {
        txtFields0->setText(TaxpayerTransfer::peek(file).name);
    } catch (const StoreError& e) {
        MessageBoxes::show(parent, e.message());
        file.clear();
    }
}

void RetrieveTaxpayerDialog::copyTaxpayer() {
    SectionTrail::enter(QStringLiteral("Copyfrm.Command1_Click"));
    try {
        if (TaxpayerTransfer::retrieve(file, Settings::databasePath(newpath)) ==
            TaxpayerTransfer::Outcome::NumberExists) {
            QApplication::beep();
            refusal->setText(TaxpayerTransfer::cannotCopy + QLatin1Char('\n') + TaxpayerTransfer::numberExists);
            refusal->show();
        } else {
            done->show();
        }
    } catch (const StoreError& e) {
        MessageBoxes::show(this, e.message());
    }
    // One dialog copies at most once.
    Command1->setEnabled(false);
}
