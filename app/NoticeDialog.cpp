#include "NoticeDialog.h"

#include "FileDialogs.h"
#include "MessageBoxes.h"
#include "MoneyText.h"
#include "StoreError.h"
#include "Transcript.h"
#include "WholeFile.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString dateFormat = QStringLiteral("MM/dd/yyyy");

QDate typedDate(const QString& text) {
    QDate d = QDate::fromString(text.trimmed(), dateFormat);
    return d.isValid() ? d : QDate::fromString(text.trimmed(), QStringLiteral("M/d/yyyy"));
}

} // namespace

NoticeDialog::NoticeDialog(const QString& taxpayerName, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmNoticeCheck"));
    setWindowTitle(QStringLiteral("Check An IRS Notice: %1").arg(taxpayerName));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Type what the notice says (leave out the lines it does not have), or "
                                            "read a notice file. Check computes the case to the date the notice's "
                                            "amounts are figured to and sets it beside the notice."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    kind = new QComboBox(this);
    kind->setObjectName(QStringLiteral("cboKind"));
    kind->setEditable(true);
    kind->addItems({QStringLiteral("CP14"), QStringLiteral("CP501"), QStringLiteral("CP503"), QStringLiteral("CP504"),
                    QStringLiteral("CP2000")});
    form->addRow(QStringLiteral("&Kind of notice:"), kind);
    noticeDate = new QLineEdit(this);
    noticeDate->setObjectName(QStringLiteral("txtNoticeDate"));
    noticeDate->setPlaceholderText(QStringLiteral("mm/dd/yyyy"));
    form->addRow(QStringLiteral("Notice &date:"), noticeDate);
    figuredTo = new QLineEdit(this);
    figuredTo->setObjectName(QStringLiteral("txtFiguredTo"));
    figuredTo->setPlaceholderText(QStringLiteral("mm/dd/yyyy (the notice date if empty)"));
    form->addRow(QStringLiteral("Amounts &figured to:"), figuredTo);
    for (const NoticeCheck::Item item : NoticeCheck::items) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txt_") + NoticeCheck::key(item));
        edit->setAlignment(Qt::AlignRight);
        amounts[item] = edit;
        form->addRow(NoticeCheck::caption(item) + QLatin1Char(':'), edit);
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* check = buttons->addButton(QStringLiteral("&Check"), QDialogButtonBox::ActionRole);
    check->setObjectName(QStringLiteral("cmdCheck"));
    QPushButton* read = buttons->addButton(QStringLiteral("&Read From File…"), QDialogButtonBox::ActionRole);
    read->setObjectName(QStringLiteral("cmdReadFile"));
    QPushButton* save = buttons->addButton(QStringLiteral("&Save To File…"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSaveFile"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* b : {check, read, save, close})
        b->setAutoDefault(false);
    check->setDefault(true);
    layout->addWidget(buttons);
    connect(check, &QPushButton::clicked, this, &NoticeDialog::checkWanted);
    connect(read, &QPushButton::clicked, this, &NoticeDialog::readFile);
    connect(save, &QPushButton::clicked, this, &NoticeDialog::saveFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    noticeDate->setFocus();
}

std::optional<NoticeCheck::Notice> NoticeDialog::notice() {
    NoticeCheck::Notice n;
    n.kind = kind->currentText().trimmed();
    n.date = typedDate(noticeDate->text());
    if (!n.date.isValid()) {
        MessageBoxes::show(
            this, QStringLiteral("The notice date \"%1\" is not a date (mm/dd/yyyy).").arg(noticeDate->text()));
        noticeDate->setFocus();
        return std::nullopt;
    }
    n.figuredTo = figuredTo->text().trimmed().isEmpty() ? n.date : typedDate(figuredTo->text());
    if (!n.figuredTo.isValid()) {
        MessageBoxes::show(this, QStringLiteral("The date the amounts are figured to, \"%1\", is not a date "
                                                "(mm/dd/yyyy).")
                                     .arg(figuredTo->text()));
        figuredTo->setFocus();
        return std::nullopt;
    }
    for (const auto& [item, edit] : amounts) {
        QString text = edit->text().trimmed();
        if (text.isEmpty())
            continue;
        text.replace(QChar(0x2212), QLatin1Char('-'));
        const auto amount = Transcript::amountOf(text);
        if (!amount) {
            MessageBoxes::show(this, QStringLiteral("%1: \"%2\" is not an amount (such as 1,234.56).")
                                         .arg(NoticeCheck::caption(item), edit->text()));
            edit->setFocus();
            return std::nullopt;
        }
        n.lines[item] = item == NoticeCheck::Item::Payments && *amount < Money() ? -*amount : *amount;
    }
    return n;
}

void NoticeDialog::fill(const NoticeCheck::Notice& n) {
    kind->setCurrentText(n.kind);
    noticeDate->setText(n.date.toString(dateFormat));
    figuredTo->setText(n.figuredTo == n.date ? QString() : n.figuredTo.toString(dateFormat));
    for (const auto& [item, edit] : amounts) {
        const auto it = n.lines.find(item);
        edit->setText(it == n.lines.end() ? QString() : groupedDecimal(it->second.cents(), 2));
    }
}

QString NoticeDialog::fileText() {
    QStringList lines{QStringLiteral("item,value")};
    lines << QStringLiteral("kind,") + kind->currentText().trimmed().remove(QLatin1Char(','));
    lines << QStringLiteral("notice_date,") + noticeDate->text().trimmed().remove(QLatin1Char(','));
    if (!figuredTo->text().trimmed().isEmpty())
        lines << QStringLiteral("figured_to,") + figuredTo->text().trimmed().remove(QLatin1Char(','));
    for (const auto& [item, edit] : amounts)
        if (!edit->text().trimmed().isEmpty())
            lines << NoticeCheck::key(item) + QLatin1Char(',') + edit->text().trimmed().remove(QLatin1Char(','));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void NoticeDialog::readFile() {
    const QString file =
        FileDialogs::openFileName(this, QStringLiteral("Read A Notice File"), FileDialogs::documentsFolder(),
                                  QStringLiteral("Notice files (*.csv);;All files (*)"));
    if (file.isEmpty())
        return;
    try {
        fill(NoticeCheck::readNotice(readRegularFile(file, qint64(1) << 20, QStringLiteral("notice file")),
                                     QFileInfo(file).fileName()));
    } catch (const StoreError& e) {
        MessageBoxes::show(this, e.message());
    }
}

void NoticeDialog::saveFile() {
    const QString target = FileDialogs::saveFileName(
        this, QStringLiteral("Save The Notice's Lines"),
        QDir(FileDialogs::documentsFolder())
            .filePath(
                FileDialogs::safeFileName(kind->currentText() + QStringLiteral(" notice"), QStringLiteral("notice")) +
                QStringLiteral(".csv")),
        QStringLiteral("Notice files (*.csv)"), QStringLiteral("csv"), FileDialogs::targetRefusal);
    if (target.isEmpty())
        return;
    const QByteArray text = fileText().toUtf8();
    try {
        writeWholeFile(target, [&text](QIODevice& device) { device.write(text); });
    } catch (const StoreError& e) {
        MessageBoxes::show(this, e.message());
    }
}
