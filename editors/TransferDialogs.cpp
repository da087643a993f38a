#include "TransferDialogs.h"

#include "Connection.h"
#include "FileDialogs.h"
#include "MessageBoxes.h"
#include "Names.h"
#include "SectionTrail.h"
#include "Settings.h"
#include "Statements.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The file dialogs' filter: the stored "(*.mdb)|*.mdb" in the form Qt's dialogs read.
const QString dialogFilter = QStringLiteral("Databases (*.mdb)");
} // namespace

SaveTaxpayerDialog::SaveTaxpayerDialog(const QString& path, QWidget* parent) : QDialog(parent), newpath(path) {
    setObjectName(QStringLiteral("Savefrm"));
    setWindowTitle(QStringLiteral("Copy Taxpayer To Disk"));
    setAttribute(Qt::WA_DeleteOnClose);
    DataList1 = new QListWidget(this);
    DataList1->setObjectName(QStringLiteral("DataList1"));
    RecordSet rows;
    try {
        rows = Connection::open(newpath)->query(Sql::selectAllTaxpayers());
    } catch (const StoreError& e) {
        MessageBoxes::show(parent, e.message());
    }
    // A client's returns go into one file together: an entry for each client, first.
    QMap<QString, int> clients;
    for (int i = 0; i < rows.size(); ++i)
        if (const QString code = rows.value(i, Columns::clientCode).toString().trimmed().toUpper(); !code.isEmpty())
            ++clients[code];
    for (auto it = clients.cbegin(); it != clients.cend(); ++it) {
        auto* item = new QListWidgetItem(
            QStringLiteral("Client %1: all %2 of its returns, in one file").arg(it.key()).arg(it.value()), DataList1);
        item->setData(Qt::UserRole, 0);
        item->setData(Qt::UserRole + 1, it.key());
    }
    for (int i = 0; i < rows.size(); ++i) {
        auto* item = new QListWidgetItem(rows.value(i, Columns::taxpayerName).toString(), DataList1);
        item->setData(Qt::UserRole, rows.value(i, Columns::taxpayerNumber).toInt());
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
    connect(DataList1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (const QString client = item->data(Qt::UserRole + 1).toString(); !client.isEmpty())
            saveClient(client);
        else
            saveTaxpayer(item->data(Qt::UserRole).toInt());
    });
    Timer1.setSingleShot(true);
    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] {
        SectionTrail::enter(QStringLiteral("Savefrm.Timer1_Timer"));
        close();
    });
    resize(420, 360);
}

QString SaveTaxpayerDialog::proposedFile(const QString& folder, const QString& taxpayerName) {
    return QDir(folder).filePath(FileDialogs::safeFileName(taxpayerName, QStringLiteral("taxpayer")) +
                                 QStringLiteral(".mdb"));
}

void SaveTaxpayerDialog::saveTaxpayer(int number) {
    SectionTrail::enter(QStringLiteral("Savefrm.DataList1_Click"));
    QString name;
    try {
        const RecordSet rows = Connection::open(newpath)->query(Sql::selectTaxpayerName(number));
        name = rows.isEmpty() ? QString() : rows.value(0, 0).toString();
    } catch (const StoreError&) {
    }
    saveInto({number}, name, [number, name](const QString& to) {
        return QStringLiteral("Taxpayer %1, %2, was saved to %3.").arg(number).arg(name, to);
    });
}

void SaveTaxpayerDialog::saveClient(const QString& clientCode) {
    SectionTrail::enter(QStringLiteral("Savefrm.DataList1_Click"));
    QList<int> numbers;
    try {
        const RecordSet rows = Connection::open(newpath)->query(Sql::selectClientTaxpayers(clientCode));
        for (int i = 0; i < rows.size(); ++i)
            numbers << rows.value(i, Columns::taxpayerNumber).toInt();
    } catch (const StoreError& e) {
        MessageBoxes::show(this, e.message());
        return;
    }
    saveInto(numbers, QStringLiteral("Client ") + clientCode, [numbers, clientCode](const QString& to) {
        return QStringLiteral("The %1 returns of client %2 were saved to %3.").arg(numbers.size()).arg(clientCode, to);
    });
}

void SaveTaxpayerDialog::saveInto(const QList<int>& numbers, const QString& name,
                                  const std::function<QString(const QString&)>& savedText) {
    DataList1->setEnabled(false);
    done->hide();
    Text1->setText(name);
    Text1->setCursorPosition(0);
    // Where the last save or retrieve was, or the documents folder. A target that cannot be written is said while
    // the chooser is still open, so that another can be chosen.
    const QString target =
        FileDialogs::saveFileName(this, windowTitle(), proposedFile(FileDialogs::proposedFolder(), name), dialogFilter,
                                  QStringLiteral("mdb"), FileDialogs::targetRefusal);
    if (target.isEmpty()) {
        Timer1.start();
        return;
    }
    try {
        Connection::save(newpath, target, numbers);
    } catch (const StoreError& e) {
        // Refused (a file the program uses, a folder that cannot be written): the dialog stays, to choose again.
        MessageBoxes::show(this, e.message());
        DataList1->setEnabled(true);
        return;
    }
    Settings::addRecentFile(target);
    savedTo = QFileInfo(target).absoluteFilePath();
    done->setText(QStringLiteral("Saved to %1").arg(QDir::toNativeSeparators(savedTo)));
    done->show();
    MessageBoxes::show(this, savedText(QDir::toNativeSeparators(savedTo)));
    Timer1.start();
}

RetrieveTaxpayerDialog::RetrieveTaxpayerDialog(const QString& path, QWidget* parent, const QString& chosen)
    : QDialog(parent), newpath(path) {
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

    file = chosen.isEmpty()
               ? FileDialogs::openFileName(parent, windowTitle(), FileDialogs::proposedFolder(), dialogFilter)
               : chosen;
    if (file.isEmpty())
        return;
    try {
        const TaxpayerTransfer::Held held = TaxpayerTransfer::peek(file);
        txtFields0->setText(
            held.count > 1
                ? QStringLiteral("%1 and %2 other return(s) of the same file").arg(held.name).arg(held.count - 1)
                : held.name);
    } catch (const StoreError& e) {
        MessageBoxes::show(parent, e.message());
        file.clear();
    }
}

void RetrieveTaxpayerDialog::copyTaxpayer() {
    SectionTrail::enter(QStringLiteral("Copyfrm.Command1_Click"));
    try {
        if (Connection::retrieve(newpath, file) == TaxpayerTransfer::Outcome::NumberExists) {
            QApplication::beep();
            refusal->setText(TaxpayerTransfer::cannotCopy + QLatin1Char('\n') + TaxpayerTransfer::numberExists);
            refusal->show();
            // The same taxpayer again, or another with the same number: it can come in under a number of its own.
            if (MessageBoxes::ask(this, TaxpayerTransfer::numberExists + QLatin1Char(' ') +
                                            TaxpayerTransfer::newNumberOffer)) {
                QList<int> given;
                Connection::retrieve(newpath, file, true, &given);
                refusal->hide();
                QStringList numbers;
                for (const int n : given)
                    numbers << QString::number(n);
                done->setText(
                    given.size() == 1
                        ? QStringLiteral("Done: retrieved as taxpayer %1.").arg(given.value(0))
                        : QStringLiteral("Done: retrieved as taxpayers %1.").arg(numbers.join(QStringLiteral(", "))));
                done->show();
                Settings::addRecentFile(file);
            }
        } else {
            done->show();
            Settings::addRecentFile(file);
        }
    } catch (const StoreError& e) {
        MessageBoxes::show(this, e.message());
    }
    // One dialog copies at most once.
    Command1->setEnabled(false);
}
