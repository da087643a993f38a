#include "DatabaseDialog.h"

#include "MessageBoxes.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

DatabaseDialog::DatabaseDialog(const std::optional<ServerAddress>& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDatabase"));
    setWindowTitle(QStringLiteral("Database"));
    optFile = new QRadioButton(QStringLiteral("The &file of the data folder (kelvadat.mdb)"), this);
    optFile->setObjectName(QStringLiteral("optFile"));
    optServer = new QRadioButton(QStringLiteral("The firm's &server (PostgreSQL)"), this);
    optServer->setObjectName(QStringLiteral("optServer"));
    const auto line = [this](const char* name, const QString& value, const QString& hint) {
        auto* e = new QLineEdit(value, this);
        e->setObjectName(QLatin1String(name));
        e->setPlaceholderText(hint);
        return e;
    };
    const auto v = [&current](const char* key) { return current ? current->value(QLatin1String(key)) : QString(); };
    txtHost =
        line("txtHost", v("host"), QStringLiteral("server.firm.example, or a socket folder such as /run/postgresql"));
    txtPort = line("txtPort", v("port"), QStringLiteral("5432"));
    txtDatabase = line("txtDatabase", v("dbname"), QStringLiteral("the firm's database"));
    txtUser = line("txtUser", v("user"), QStringLiteral("your user name on the server"));
    cboTls = new QComboBox(this);
    cboTls->setObjectName(QStringLiteral("cboTls"));
    // verify-full checks that the certificate is the firm's and names the host: what a server across a network needs.
    cboTls->addItem(QStringLiteral("verify-full: encrypted, the certificate and the host name checked"),
                    QStringLiteral("verify-full"));
    cboTls->addItem(QStringLiteral("verify-ca: encrypted, the certificate checked"), QStringLiteral("verify-ca"));
    cboTls->addItem(QStringLiteral("require: encrypted, nothing checked"), QStringLiteral("require"));
    cboTls->addItem(QStringLiteral("prefer: encrypted when the server offers it"), QStringLiteral("prefer"));
    cboTls->addItem(QStringLiteral("disable: never encrypted (a socket folder of this machine)"),
                    QStringLiteral("disable"));
    const int tls = cboTls->findData(v("sslmode").isEmpty() ? QStringLiteral("prefer") : v("sslmode"));
    cboTls->setCurrentIndex(tls < 0 ? 3 : tls);
    txtRootCert = line("txtRootCert", v("sslrootcert"), QStringLiteral("the firm's root certificate (a .crt file)"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Host:"), txtHost);
    form->addRow(QStringLiteral("&Port:"), txtPort);
    form->addRow(QStringLiteral("&Database:"), txtDatabase);
    form->addRow(QStringLiteral("&User:"), txtUser);
    form->addRow(QStringLiteral("&TLS:"), cboTls);
    form->addRow(QStringLiteral("&Root certificate:"), txtRootCert);
    auto* note = new QLabel(QStringLiteral("The password is never kept: the program finds it in your ~/.pgpass file, "
                                           "or asks for it once a session."),
                            this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optFile);
    layout->addWidget(optServer);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    (current ? optServer : optFile)->setChecked(true);
    connect(optServer, &QRadioButton::toggled, this, [this] { enableFields(); });
    enableFields();
    (current ? static_cast<QWidget*>(txtHost) : optFile)->setFocus();
}

void DatabaseDialog::enableFields() {
    for (QWidget* w : std::initializer_list<QWidget*>{txtHost, txtPort, txtDatabase, txtUser, cboTls, txtRootCert})
        w->setEnabled(optServer->isChecked());
}

bool DatabaseDialog::serverChosen() const {
    return optServer->isChecked();
}

std::optional<ServerAddress> DatabaseDialog::chosen() const {
    if (!optServer->isChecked() || txtDatabase->text().trimmed().isEmpty())
        return std::nullopt;
    ServerAddress a;
    const auto put = [&a](const char* key, const QString& value) {
        if (!value.trimmed().isEmpty())
            a.set(QLatin1String(key), value.trimmed());
    };
    put("host", txtHost->text());
    put("port", txtPort->text());
    put("dbname", txtDatabase->text());
    put("user", txtUser->text());
    put("sslmode", cboTls->currentData().toString());
    put("sslrootcert", txtRootCert->text());
    return a;
}

void DatabaseDialog::setTrial(std::function<std::optional<QString>(const ServerAddress&)> trial) {
    tryServer = std::move(trial);
}

void DatabaseDialog::accept() {
    if (!optServer->isChecked()) {
        QDialog::accept();
        return;
    }
    const auto address = chosen();
    if (!address) {
        MessageBoxes::show(this, QStringLiteral("Type the name of the firm's database on the server."));
        txtDatabase->setFocus();
        return;
    }
    if (tryServer) {
        if (const auto refused = tryServer(*address)) {
            if (MessageBoxes::ask(this, *refused + QStringLiteral("\n\nOpen the local file instead?"))) {
                optFile->setChecked(true);
                QDialog::accept();
            }
            return; // the fields stay as typed, to correct them
        }
    }
    QDialog::accept();
}
