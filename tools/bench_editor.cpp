// Times the payment editor on a taxpayer with 20,000 payments: opening it with its list, moving to the last payment,
// filtering the list as a filter is typed, sorting it and choosing a row of it.
// Prints the figures; asserts nothing.
//
//   talvoro-bench-editor

#include "Editors.h"
#include "RecordList.h"
#include "Settings.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "ToolSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {
// A key pressed and let go, as the keyboard delivers it to the widget with the focus.
void press(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &down);
    QApplication::sendEvent(w, &up);
}
} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).filePath(QStringLiteral("kelvadat.mdb"));
    ToolSupport::freshDatabase(file);
    {
        SqliteDatabase db(file);
        Transaction t(db);
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Many Payments')");
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Other')");
        for (int i = 0; i < 40000; ++i)
            db.exec(QStringLiteral("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],"
                                   "[Date Of Payment],[Amount Of Payment],[Payment Allocated To Tax]) VALUES(%1,"
                                   "'Many Payments','Payment',%2,100,100)")
                        .arg(i % 2 + 1)
                        .arg(SqlText::date(QDate(1990, 1, 1).addDays(i / 2))));
        t.commit();
    }
    QElapsedTimer clock;
    clock.start();
    PaymentEditor editor({dir.path() + QLatin1Char('/'), 1, QStringLiteral("Many Payments"), false});
    editor.show();
    QApplication::processEvents();
    const double openMs = double(clock.nsecsElapsed()) / 1e6;
    const QString focusAtOpen = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "none";
    clock.restart();
    editor.last();
    QApplication::processEvents();
    const double lastMs = double(clock.nsecsElapsed()) / 1e6;
    QTextStream out(stdout);
    auto ms = [](const QElapsedTimer& c) { return QString::number(double(c.nsecsElapsed()) / 1e6, 'f', 1); };
    out << "payment editor, 20,000 payments of 40,000: open " << QString::number(openMs, 'f', 1)
        << " ms, to the last payment " << QString::number(lastMs, 'f', 1) << " ms (" << editor.statusText()
        << "; the focus on " << focusAtOpen << ")\n";

    // The list's filter, a key at a time as it is typed ("03/1" keeps every payment of a March 1st-to-19th), then
    // cleared; the slowest key counts.
    RecordList* list = editor.recordList();
    QLineEdit* filter = list->filter();
    // Ctrl+F: the box takes the focus and makes the texts it searches.
    clock.restart();
    press(QApplication::focusWidget() ? QApplication::focusWidget() : &editor, Qt::Key_F, Qt::ControlModifier);
    QApplication::processEvents();
    out << "  Ctrl+F into the filter box: " << ms(clock) << " ms" << (filter->hasFocus() ? "" : " (not focused)")
        << "\n";
    double slowest = 0;
    QString typed;
    for (const QChar key : QStringLiteral("03/1")) {
        typed += key;
        clock.restart();
        press(filter, key.unicode(), Qt::NoModifier, QString(key));
        QApplication::processEvents();
        slowest = std::max(slowest, double(clock.nsecsElapsed()) / 1e6);
        out << "  filter \"" << typed << "\": " << ms(clock) << " ms, " << list->countText() << "\n";
    }
    clock.restart();
    filter->clear();
    QApplication::processEvents();
    slowest = std::max(slowest, double(clock.nsecsElapsed()) / 1e6);
    out << "  filter cleared: " << ms(clock) << " ms, " << list->countText() << "\n";
    out << "payment list filter: slowest key " << QString::number(slowest, 'f', 1) << " ms\n";

    // Sorted by the amount, then a row chosen in the list shown in the form.
    clock.restart();
    list->view()->sortByColumn(1, Qt::DescendingOrder);
    QApplication::processEvents();
    out << "payment list sorted by its second column: " << ms(clock) << " ms\n";
    clock.restart();
    list->view()->selectRow(10000);
    QApplication::processEvents();
    out << "a list row chosen, shown in the form: " << ms(clock) << " ms (" << editor.statusText() << ")\n";
    return 0;
}
