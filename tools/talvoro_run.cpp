// Runs the program's calculation runs and taxpayer transfers without a window, for automation and tests:
//
//   talvoro-run [--data-dir DIR] --taxpayer N --report interest|summary|penalty|deposit|payment|estimated
//               [--pdf FILE] [--csv FILE] [--print-date MM/DD/YYYY] [--tax-year-end MM/DD/YYYY]
//   talvoro-run [--data-dir DIR] --taxpayer N --balance-at MM/DD/YYYY
//   talvoro-run [--data-dir DIR] --retrieve FILE
//   talvoro-run [--data-dir DIR] --save-taxpayer N FILE
//   talvoro-run [--data-dir DIR] --all --report summary --csv FILE [--pdf FILE]
//   talvoro-run [--data-dir DIR] --update-rates [FILE]
//   talvoro-run [--data-dir DIR] --import-transcript FILE [--client CODE] [--taxpayer N]
//   talvoro-run [--data-dir DIR] --taxpayer N --check-notice FILE [--csv FILE] [--pdf FILE] [--print-date MM/DD/YYYY]
//   talvoro-run [--data-dir DIR] --taxpayer N --penalty-relief MM/DD/YYYY [--ticked 1,2,3,4] [--csv FILE] [--pdf FILE]
//   talvoro-run [--data-dir DIR] --client CODE --report netting [--csv FILE] [--pdf FILE] [--claim FILE]
//               [--method UNDER:OVER=under|over ...]
//
// --tax-year-end chooses the tax year of the estimated report; without it the report is of the taxpayer's latest year
// (standard error says so when it has several).
// --pdf and --csv export the report after the run (the payment report has no run: it is only exported); the report
// says it was printed today, or on the --print-date given (for exports that must not change from day to day).
// --balance-at prints the balances on that payment date as the payment form shows them, one a line:
// "Tax Due: ...", "Interest Due: ...", "Penalties Due: ...".
// --retrieve and --save-taxpayer do what "Retrieve Taxpayer From Disk" and "Save Taxpayer To Disk" do, with the same
// checks and messages.
// --all runs the summary of every taxpayer, in taxpayer-number order, and writes one line a taxpayer (a run that stops
// leaves its message on its line and the others go on); a progress line goes to standard error every 100 taxpayers.
// [Summary Table] is left as the last single run left it.
// --client nets the interest of the returns whose client code is CODE and prints "Netting benefit: 154.92"; --claim
// writes the text of the request for the net rate of zero; --method chooses how the overlaps of the underpayment
// return UNDER and the overpayment return OVER are netted ("under": the underpayment charged at the overpayment rate,
// "over": the overpayment credited at the underpayment rate), instead of the IRS's way.
// --import-transcript reads an IRS account transcript (text, HTML or PDF) as "Import IRS Account Transcript..." does,
// prints what each transaction does, and writes the case in one transaction: a new taxpayer (of client CODE with
// --client), or with --taxpayer the transcript added to that case, whose tax period must be the transcript's. It
// prints "Imported as taxpayer N" or "Added to taxpayer N"; a transcript refused writes nothing.
// --check-notice reads what an IRS notice says from a small CSV ("item,value" lines: kind, notice_date, figured_to,
// tax, failure_to_file, failure_to_pay, estimated_tax, failure_to_deposit, accuracy_related, interest, payments,
// amount_due) and prints, line by line, the notice's figure, the program's to the same date and the difference, then
// each cause tested with the figure it gives; --csv writes the same, --pdf the "Notice Check" report.
// --penalty-relief prints each failure-to-file, failure-to-pay and deposit penalty of the case to that date, the
// interest on it, the balance with and without them, and the first-time abatement checklist with the conditions
// --ticked (their numbers, from 1); --csv and --pdf export the "Penalty Relief" report.
// --update-rates adds to the rate tables the periods of FILE (of the layout of the shipped irs-rates.csv, which is
// read when no FILE is given) that they lack, in one transaction, and prints what it added; no row already in a table
// is changed.
// Every text the program would show in a message box or notice goes to standard error, one line each; a report timer
// the run arms is printed on standard output as its name and interval ("Timer7 500").
// Exit status: 0 done, 1 ended through a message or refused, 2 bad arguments or an unknown taxpayer.

#include "CalculationRun.h"
#include "CaseReader.h"
#include "Clock.h"
#include "MoneyText.h"
#include "NettingRun.h"
#include "PostgresDatabase.h"
#include "ProgramFiles.h"
#include "RateUpdate.h"
#include "RatesFile.h"
#include "ReportKind.h"
#include "ReportPainter.h"
#include "ReportSource.h"
#include "RunReporter.h"
#include "ServerTransfer.h"
#include "Settings.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"
#include "ToolSupport.h"
#include "TranscriptFile.h"
#include "TranscriptImport.h"
#include "WholeBook.h"
#include "WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringDecoder>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <map>
#include <new>

#include <termios.h>
#include <unistd.h>

namespace {

class ConsoleReporter : public RunReporter {
public:
    void message(const QString& text) override { err() << text << Qt::endl; }
    void notice(const QString& text) override { err() << text << Qt::endl; }
    void progress(int) override {}
    void progressVisible(bool) override {}

    static QTextStream& err() {
        static QTextStream s(stderr);
        return s;
    }
    // What the runner prints besides an export: on standard output, unless the export itself goes there ("--csv -"),
    // when it goes to standard error so that the output holds the export alone.
    static QTextStream& out() {
        static QTextStream s(stdout);
        return exportToStandardOutput ? err() : s;
    }
    static inline bool exportToStandardOutput = false;
};

constexpr int exitDone = 0;
constexpr int exitStopped = 1;
constexpr int exitUsage = 2;

int usage(const QString& why) {
    QTextStream err(stderr);
    err << "talvoro-run: " << why << '\n'
        << "usage: talvoro-run [--data-dir DIR] --taxpayer N --report "
           "interest|summary|penalty|deposit|payment|estimated\n"
        << "                   [--pdf FILE] [--csv FILE] [--print-date MM/DD/YYYY] [--tax-year-end MM/DD/YYYY]\n"
        << "       talvoro-run [--data-dir DIR] --taxpayer N --balance-at MM/DD/YYYY\n"
        << "       talvoro-run [--data-dir DIR] --retrieve FILE\n"
        << "       talvoro-run [--data-dir DIR] --save-taxpayer N FILE\n"
        << "       talvoro-run [--data-dir DIR] --all --report summary --csv FILE [--pdf FILE]\n"
        << "       talvoro-run [--data-dir DIR] --update-rates [FILE]\n"
        << "       talvoro-run [--data-dir DIR] --import-transcript FILE [--client CODE] [--taxpayer N]\n"
        << "       talvoro-run [--data-dir DIR] --taxpayer N --check-notice FILE [--csv FILE] [--pdf FILE]\n"
        << "       talvoro-run [--data-dir DIR] --taxpayer N --penalty-relief MM/DD/YYYY [--ticked 1,2,3,4]\n"
        << "                   [--csv FILE] [--pdf FILE]\n"
        << "       talvoro-run [--data-dir DIR] --client CODE --report netting [--csv FILE] [--pdf FILE] "
           "[--claim FILE]\n"
        << "                   [--method UNDER:OVER=under|over ...]\n"
        << "       any of these with --server \"host=... dbname=...\" works on the firm's server instead of the file;\n"
        << "       talvoro-run --server \"...\" --init-firm ADMIN_ROLE STAFF_ROLE\n"
        << "       talvoro-run [--data-dir DIR] --server \"...\" --copy-to-server\n"
        << "       talvoro-run --server \"...\" --history N\n";
    return exitUsage;
}

int stopped(const QString& message) {
    ConsoleReporter::err() << message << Qt::endl;
    return exitStopped;
}

int exitOf(RunOutcome o) {
    return o == RunOutcome::Written ? exitDone : exitStopped;
}

struct Arguments {
    QString dataDir, report, pdfFile, csvFile, retrieveFile, saveFile, client, claimFile, transcriptFile, noticeFile;
    std::map<std::pair<int, int>, Netting::Method> methods;
    QDate balanceDate, taxYearEnd, reliefDate;
    std::vector<bool> ticked;
    std::optional<int> taxpayer;
    bool all = false;
    std::optional<QString> ratesFile; // --update-rates: the file, or empty for the shipped one
    std::optional<ServerAddress> server;
    QString adminRole, staffRole; // --init-firm
    bool copyToServer = false;
    std::optional<int> history;
};

QDate dateOf(const QString& text) {
    const QDate d = QDate::fromString(text, QStringLiteral("MM/dd/yyyy"));
    return d.isValid() ? d : QDate::fromString(text, QStringLiteral("M/d/yyyy"));
}

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// A file or folder name that is not valid UTF-8 cannot be opened by this program; the message names it by its own
// bytes, as the user's other programs show it.
std::optional<QByteArray> notUtf8(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = utf8.decode(bytes); // decoding happens on conversion
        if (utf8.hasError())
            return bytes;
    }
    return std::nullopt;
}

int runReport(Database& db, const Arguments& a, const TaxpayerCase& tp) {
    ConsoleReporter reporter;
    const ReportKind& kind = *ReportKind::byKey(a.report);
    RunResult result;
    const RunOutcome outcome = kind.run ? kind.run(db, reporter, tp, result) : RunOutcome::Written;
    // The timer the window would arm to show the report, as the window names it.
    if (outcome == RunOutcome::Written && kind.run)
        reporter.out() << kind.timer << ' ' << reportTimerMs << Qt::endl;
    if (outcome == RunOutcome::Written && !result.printed.isEmpty())
        reporter.out() << result.printed << Qt::endl;
    if (outcome != RunOutcome::Written || (a.pdfFile.isEmpty() && a.csvFile.isEmpty()))
        return exitOf(outcome);
    try {
        // The rows the run handed on, or for the payment report the stored payments.
        const ReportContent content = kind.run ? buildReport(*kind.layout, tp, result.rows, Clock::today())
                                               : loadReport(db, *kind.layout, tp, Clock::today());
        if (!a.pdfFile.isEmpty())
            writeReportPdf(content, a.pdfFile);
        if (!a.csvFile.isEmpty())
            writeReportCsv(content, a.csvFile);
    } catch (const StoreError& e) {
        return stopped(e.message());
    } catch (const std::exception& e) {
        return stopped(QString::fromStdString(e.what()));
    }
    return exitDone;
}

int runNetting(Database& db, const Arguments& a) {
    ConsoleReporter reporter;
    CaseReader reader(db);
    const std::vector<TaxpayerCase> cases = reader.client(a.client);
    NettingRun::Result result;
    const auto choice = [&a](int under, int over) -> std::optional<Netting::Method> {
        const auto it = a.methods.find({under, over});
        return it == a.methods.end() ? std::nullopt : std::optional<Netting::Method>(it->second);
    };
    if (NettingRun(reporter).run(a.client, cases, &result, choice) != RunOutcome::Written)
        return exitStopped;
    // A method for a pair that has no overlap would look applied: it is refused.
    for (const auto& [pair, method] : a.methods) {
        const bool found = std::any_of(result.overlaps.begin(), result.overlaps.end(), [&](const auto& o) {
            return result.returns[o.overlap.under].number == pair.first &&
                   result.returns[o.overlap.over].number == pair.second;
        });
        if (!found)
            return stopped(QStringLiteral("--method %1:%2: the client %3 has no overlap of an underpayment of return "
                                          "%1 with an overpayment of return %2.")
                               .arg(pair.first)
                               .arg(pair.second)
                               .arg(a.client));
    }
    reporter.out() << "Netting benefit: " << plainDecimal(result.benefit.cents(), 2) << Qt::endl;
    try {
        if (!a.pdfFile.isEmpty() || !a.csvFile.isEmpty()) {
            const bool reading = !cases.empty() && cases.front().refundTakesFirstPart;
            const ReportContent content = nettingContent(result, reading, Clock::today());
            if (!a.pdfFile.isEmpty())
                writeReportPdf(content, a.pdfFile);
            if (!a.csvFile.isEmpty())
                writeReportCsv(content, a.csvFile);
        }
        if (!a.claimFile.isEmpty()) {
            const QByteArray text = NettingRun::claimText(result, cases).toUtf8();
            writeWholeFile(a.claimFile, [&text](QIODevice& device) { device.write(text); });
        }
    } catch (const StoreError& e) {
        return stopped(e.message());
    } catch (const std::exception& e) {
        return stopped(QString::fromStdString(e.what()));
    }
    return exitDone;
}

int runBalance(const Arguments& a, const TaxpayerCase& tp) {
    ConsoleReporter reporter;
    CalculationRun::Balances b;
    const RunOutcome outcome = CalculationRun(reporter).balanceAt(tp, a.balanceDate, &b);
    if (outcome == RunOutcome::Written)
        ConsoleReporter::out() << "Tax Due: " << balanceText(b.tax) << "\nInterest Due: " << balanceText(b.interest)
                               << "\nPenalties Due: " << balanceText(b.penalties) << Qt::endl;
    return exitOf(outcome);
}

int runWholeBook(Database& db, const Arguments& a) {
    try {
        const auto lines = WholeBook::summaries(db, [](int done, int all) {
            if (done % 100 == 0 || done == all)
                ConsoleReporter::err() << done << " of " << all << " taxpayers" << Qt::endl;
        });
        const QByteArray text = WholeBook::csv(lines).toUtf8();
        writeWholeFile(a.csvFile, [&text](QIODevice& device) { device.write(text); });
        if (!a.pdfFile.isEmpty())
            writeReportPdf(wholeBookContent(lines, Clock::today()), a.pdfFile);
    } catch (const StoreError& e) {
        return stopped(e.message());
    } catch (const std::exception& e) {
        return stopped(QString::fromStdString(e.what()));
    }
    return exitDone;
}

int runUpdateRates(Database& db, const Arguments& a) {
    if (auto* server = dynamic_cast<PostgresDatabase*>(&db); server && !server->rights().changeRates)
        return stopped(PostgresDatabase::ratesRefused());
    const bool shipped = a.ratesFile->isEmpty();
    const QString file = shipped ? DataFiles::path(DataFiles::rates) : *a.ratesFile;
    const QString source =
        shipped ? QStringLiteral("this installation") : QStringLiteral("the file ") + QFileInfo(file).fileName();
    RateUpdate update(db, readPublishedRates(file));
    QTextStream(stdout) << (update.anythingMissing() ? update.apply() : update.nothingMissing(source)) << '\n';
    return exitDone;
}

int runImport(Database& db, const Arguments& a) {
    CaseReader reader(db);
    std::optional<TaxpayerCase> into;
    if (a.taxpayer) {
        into = reader.read(*a.taxpayer);
        if (!into)
            return usage(QStringLiteral("there is no taxpayer number %1 to add the transcript to").arg(*a.taxpayer));
    }
    const QString shown = QFileInfo(a.transcriptFile).fileName();
    const Transcript::Account account = Transcript::read(transcriptBytes(a.transcriptFile), shown);
    const auto& holidays = reader.figures()->holidays;
    const TranscriptImport::Plan plan = TranscriptImport::plan(
        account, TranscriptRules::installed(), holidays.value_or(std::vector<Holiday>()), into, shown, Clock::today());
    QTextStream out(stdout);
    for (size_t i = 0; i < plan.steps.size(); ++i)
        if (const auto& x = account.lines[i].transaction)
            out << "Line " << plan.steps[i].line << ": " << x->code << ' ' << plan.steps[i].does << '\n';
    for (const auto& code : plan.unknownCodes)
        out << "Not in the table of transaction codes, left out: " << code << '\n';
    for (const auto& note : plan.notes)
        out << "Note: " << note << '\n';
    const int number = TranscriptImport::write(db, plan, a.client);
    out << (plan.into ? "Added to taxpayer " : "Imported as taxpayer ") << number << '\n';
    return exitDone;
}

int runNoticeCheck(const Arguments& a, const TaxpayerCase& tp) {
    const QString shown = QFileInfo(a.noticeFile).fileName();
    const NoticeCheck::Notice notice =
        NoticeCheck::readNotice(readRegularFile(a.noticeFile, qint64(1) << 20, QStringLiteral("notice file")), shown);
    ConsoleReporter reporter;
    NoticeCheck::Result result;
    const RunOutcome outcome = NoticeCheck::check(tp, notice, reporter, &result);
    if (outcome != RunOutcome::Written)
        return exitOf(outcome);
    QTextStream& out = ConsoleReporter::out();
    const auto shownMoney = [](const std::optional<Money>& m) {
        return m ? groupedDecimal(m->cents(), 2) : QStringLiteral("-");
    };
    out << "Notice " << (notice.kind.isEmpty() ? QStringLiteral("(no kind)") : notice.kind) << " of "
        << notice.date.toString(QStringLiteral("MM/dd/yyyy")) << ", figured to "
        << notice.figuredTo.toString(QStringLiteral("MM/dd/yyyy")) << '\n';
    for (const auto& l : result.lines)
        out << NoticeCheck::caption(l.item) << ": notice " << shownMoney(l.notice) << ", program "
            << shownMoney(l.program) << ", difference "
            << shownMoney(l.notice && l.program ? std::optional<Money>(*l.notice - *l.program) : std::nullopt) << '\n';
    for (const auto& note : NoticeCheck::causeNotes(result))
        out << note << '\n';
    out.flush();
    if (!a.csvFile.isEmpty()) {
        const QByteArray text = NoticeCheck::csv(result).toUtf8();
        if (a.csvFile == QLatin1String("-"))
            QTextStream(stdout) << text;
        else
            writeWholeFile(a.csvFile, [&text](QIODevice& device) { device.write(text); });
    }
    if (!a.pdfFile.isEmpty())
        writeReportPdf(noticeCheckContent(result, Clock::today()), a.pdfFile);
    return exitDone;
}

int runPenaltyRelief(const Arguments& a, const TaxpayerCase& tp) {
    ConsoleReporter reporter;
    PenaltyRelief::Result result;
    const RunOutcome outcome = PenaltyRelief::compute(tp, a.reliefDate, a.ticked, reporter, &result);
    if (outcome != RunOutcome::Written)
        return exitOf(outcome);
    QTextStream& out = ConsoleReporter::out();
    for (const auto& p : result.penalties)
        out << p.kind << ": " << groupedDecimal(p.amount.cents(), 2) << ", interest on it from "
            << p.begins.toString(QStringLiteral("MM/dd/yyyy")) << ": " << groupedDecimal(p.interest.cents(), 2) << '\n';
    for (const auto& note : PenaltyRelief::notes(result))
        out << note << '\n';
    out.flush();
    const ReportContent content = penaltyReliefContent(result, Clock::today());
    if (!a.pdfFile.isEmpty())
        writeReportPdf(content, a.pdfFile);
    if (!a.csvFile.isEmpty())
        writeReportCsv(content, a.csvFile);
    return exitDone;
}

int runRetrieve(const QString& databaseFile, const Arguments& a) {
    if (TaxpayerTransfer::retrieve(a.retrieveFile, databaseFile) == TaxpayerTransfer::Outcome::NumberExists)
        return stopped(TaxpayerTransfer::cannotCopy + QLatin1Char('\n') + TaxpayerTransfer::numberExists);
    QTextStream(stdout) << "Done\n";
    return exitDone;
}

int runServerRetrieve(PostgresDatabase& server, const Arguments& a) {
    if (ServerTransfer::retrieve(a.retrieveFile, server) == TaxpayerTransfer::Outcome::NumberExists)
        return stopped(TaxpayerTransfer::cannotCopy + QLatin1Char('\n') + TaxpayerTransfer::numberExists);
    QTextStream(stdout) << "Done\n";
    return exitDone;
}

int runServerSave(PostgresDatabase& server, const QString& dataFolder, const Arguments& a) {
    QString target = a.saveFile;
    if (!target.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
        target += QStringLiteral(".mdb");
    ServerTransfer::save(server, QDir(dataFolder).filePath(Settings::templateFileName), target, {*a.taxpayer});
    QTextStream(stdout) << "Done\n";
    return exitDone;
}

int runCopyToServer(PostgresDatabase& server, const QString& databaseFile) {
    const ServerTransfer::Copied copied = ServerTransfer::copyToServer(databaseFile, server);
    QTextStream out(stdout);
    for (const int n : copied.alreadyThere)
        out << "Not copied: the server has a taxpayer number " << n << " already\n";
    for (const auto& [table, rows] : copied.rowCounts)
        out << table << ": " << rows << " rows\n";
    out << "Copied " << copied.taxpayers.size() << " taxpayers to " << server.shown() << '\n';
    return copied.alreadyThere.isEmpty() ? exitDone : exitStopped;
}

int runHistory(PostgresDatabase& server, int taxpayer) {
    QTextStream out(stdout);
    const auto changes = server.history(taxpayer);
    if (changes.empty())
        out << "The server has recorded no change of taxpayer " << taxpayer << ".\n";
    for (const auto& c : changes) {
        out << c.at.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss")) << ' ' << c.by << ' ' << c.operation << ' ' << '['
            << c.table << ']';
        if (c.row)
            out << " row " << *c.row;
        out << '\n';
        if (!c.before.isEmpty())
            out << "    before: " << c.before << '\n';
        if (!c.after.isEmpty())
            out << "    after:  " << c.after << '\n';
    }
    return exitDone;
}

// The password of a server that asks for one and finds none in ~/.pgpass: asked once, on the terminal, not shown.
std::optional<QString> askPassword(const ServerAddress& address) {
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    ConsoleReporter::err() << "Password for " << address.shown() << ": " << Qt::flush;
    termios old{};
    const bool quiet = tcgetattr(STDIN_FILENO, &old) == 0;
    if (quiet) {
        termios silent = old;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    QTextStream in(stdin);
    const QString typed = in.readLine();
    if (quiet)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
    ConsoleReporter::err() << Qt::endl;
    return typed;
}

std::unique_ptr<PostgresDatabase> openServer(ServerAddress address, PostgresDatabase::Mode mode) {
    try {
        return std::make_unique<PostgresDatabase>(address, mode);
    } catch (const StoreError& e) {
        if (!e.details().contains(QLatin1String("no password supplied")))
            throw;
        const auto typed = askPassword(address);
        if (!typed)
            throw;
        address.set(QStringLiteral("password"), *typed);
        return std::make_unique<PostgresDatabase>(address, mode);
    }
}

int runSave(const QString& dataFolder, const Arguments& a) {
    QString target = a.saveFile;
    if (!target.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
        target += QStringLiteral(".mdb");
    TaxpayerTransfer::save(QDir(dataFolder).filePath(Settings::databaseFileName),
                           QDir(dataFolder).filePath(Settings::templateFileName), target, *a.taxpayer);
    QTextStream(stdout) << "Done\n";
    return exitDone;
}

} // namespace

int main(int argc, char** argv) {
    // Exporting a PDF draws text, which needs a platform; without a display the offscreen one serves.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ToolSupport::quietQt();
    QGuiApplication app(argc, argv);
    if (const auto bad = notUtf8(argc, argv)) {
        std::fputs("The name \"", stderr);
        std::fwrite(bad->constData(), 1, size_t(bad->size()), stderr);
        std::fputs("\" is not valid UTF-8: this program cannot open a file or folder of that name.\n", stderr);
        return exitStopped;
    }
    Arguments a;
    const QStringList args = app.arguments();
    QStringList given; // each option once: a second --taxpayer would silently win over the first
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg.startsWith(QLatin1String("--"))) {
            if (given.contains(arg))
                return usage(QStringLiteral("%1 is given more than once").arg(arg));
            given << arg;
        }
        // A file or folder name must name something: an empty one would mean the shipped file or the current folder.
        auto fileValue = [&](QString* into) {
            *into = args[++i];
            return !into->isEmpty();
        };
        if (arg == QLatin1String("--data-dir") && hasValue) {
            if (!fileValue(&a.dataDir))
                return usage(QStringLiteral("the folder of --data-dir is empty"));
        } else if (arg == QLatin1String("--taxpayer") && hasValue) {
            a.taxpayer = wholeNumber(args[++i]);
            if (!a.taxpayer)
                return usage(QStringLiteral("the taxpayer number \"%1\" is not a whole number").arg(args[i]));
        } else if (arg == QLatin1String("--report") && hasValue) {
            a.report = args[++i];
        } else if (arg == QLatin1String("--pdf") && hasValue) {
            if (!fileValue(&a.pdfFile))
                return usage(QStringLiteral("the file of --pdf is empty"));
        } else if (arg == QLatin1String("--csv") && hasValue) {
            if (!fileValue(&a.csvFile))
                return usage(QStringLiteral("the file of --csv is empty (\"-\" is standard output)"));
        } else if (arg == QLatin1String("--balance-at") && hasValue) {
            a.balanceDate = dateOf(args[++i]);
            if (!a.balanceDate.isValid())
                return usage(QStringLiteral("the payment date \"%1\" is not a date MM/DD/YYYY").arg(args[i]));
        } else if (arg == QLatin1String("--print-date") && hasValue) {
            const QDate printed = dateOf(args[++i]);
            if (!printed.isValid())
                return usage(QStringLiteral("the print date \"%1\" is not a date MM/DD/YYYY").arg(args[i]));
            Clock::setToday(printed);
        } else if (arg == QLatin1String("--tax-year-end") && hasValue) {
            a.taxYearEnd = dateOf(args[++i]);
            if (!a.taxYearEnd.isValid())
                return usage(QStringLiteral("the tax year end \"%1\" is not a date MM/DD/YYYY").arg(args[i]));
        } else if (arg == QLatin1String("--client") && hasValue) {
            a.client = args[++i].trimmed();
            if (a.client.isEmpty())
                return usage(QStringLiteral("the client code of --client is empty"));
        } else if (arg == QLatin1String("--claim") && hasValue) {
            if (!fileValue(&a.claimFile))
                return usage(QStringLiteral("the file of --claim is empty"));
        } else if (arg == QLatin1String("--method") && hasValue) {
            // Several pairs, comma-separated: 1:2=over,3:2=under
            for (const QString& one : args[++i].split(QLatin1Char(','))) {
                const QStringList sides = one.split(QLatin1Char('='));
                const QStringList pair = sides.value(0).split(QLatin1Char(':'));
                const auto under = wholeNumber(pair.value(0));
                const auto over = wholeNumber(pair.value(1));
                const QString how = sides.value(1);
                if (sides.size() != 2 || pair.size() != 2 || !under || !over ||
                    (how != QLatin1String("under") && how != QLatin1String("over")))
                    return usage(QStringLiteral("--method takes UNDER:OVER=under or UNDER:OVER=over, such as "
                                                "1:2=over (\"%1\" is not)")
                                     .arg(one));
                a.methods[{*under, *over}] = how == QLatin1String("under")
                                                 ? Netting::Method::UnderpaymentAtOverpaymentRate
                                                 : Netting::Method::OverpaymentAtUnderpaymentRate;
            }
        } else if (arg == QLatin1String("--all")) {
            a.all = true;
        } else if (arg == QLatin1String("--update-rates")) {
            a.ratesFile = QString();
            if (hasValue && !args[i + 1].startsWith(QLatin1String("--")) && !fileValue(&*a.ratesFile))
                return usage(QStringLiteral("the rates file of --update-rates is empty (leave it out for the "
                                            "installed one)"));
        } else if (arg == QLatin1String("--import-transcript") && hasValue) {
            if (!fileValue(&a.transcriptFile))
                return usage(QStringLiteral("the file of --import-transcript is empty"));
        } else if (arg == QLatin1String("--check-notice") && hasValue) {
            if (!fileValue(&a.noticeFile))
                return usage(QStringLiteral("the file of --check-notice is empty"));
        } else if (arg == QLatin1String("--penalty-relief") && hasValue) {
            a.reliefDate = dateOf(args[++i]);
            if (!a.reliefDate.isValid())
                return usage(
                    QStringLiteral("the date of --penalty-relief \"%1\" is not a date MM/DD/YYYY").arg(args[i]));
        } else if (arg == QLatin1String("--ticked") && hasValue) {
            for (const QString& one : args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const auto n = wholeNumber(one);
                if (!n || *n < 1 || *n > int(PenaltyRelief::conditions().size()))
                    return usage(QStringLiteral("--ticked takes the numbers of the conditions ticked, 1 to %1, such "
                                                "as 1,2,4 (\"%2\" is not one)")
                                     .arg(PenaltyRelief::conditions().size())
                                     .arg(one));
                a.ticked.resize(PenaltyRelief::conditions().size(), false);
                a.ticked[size_t(*n - 1)] = true;
            }
        } else if (arg == QLatin1String("--server") && hasValue) {
            try {
                a.server = ServerAddress::parse(args[++i]);
            } catch (const StoreError& e) {
                return usage(e.message());
            }
        } else if (arg == QLatin1String("--init-firm") && i + 2 < args.size()) {
            a.adminRole = args[++i];
            a.staffRole = args[++i];
            if (a.adminRole.isEmpty() || a.staffRole.isEmpty() || a.adminRole == a.staffRole)
                return usage(
                    QStringLiteral("--init-firm takes two different roles, the administrators' and the staff's"));
        } else if (arg == QLatin1String("--copy-to-server")) {
            a.copyToServer = true;
        } else if (arg == QLatin1String("--history") && hasValue) {
            a.history = wholeNumber(args[++i]);
            if (!a.history)
                return usage(QStringLiteral("the taxpayer number \"%1\" is not a whole number").arg(args[i]));
        } else if (arg == QLatin1String("--retrieve") && hasValue) {
            if (!fileValue(&a.retrieveFile))
                return usage(QStringLiteral("the file of --retrieve is empty"));
        } else if (arg == QLatin1String("--save-taxpayer") && i + 2 < args.size()) {
            a.taxpayer = wholeNumber(args[++i]);
            if (!a.taxpayer)
                return usage(QStringLiteral("the taxpayer number \"%1\" is not a whole number").arg(args[i]));
            if (!fileValue(&a.saveFile))
                return usage(QStringLiteral("the file of --save-taxpayer is empty"));
        } else {
            return usage(QStringLiteral("unknown argument \"%1\"").arg(arg));
        }
    }
    const bool balance = a.balanceDate.isValid();
    const bool retrieve = !a.retrieveFile.isEmpty();
    const bool save = !a.saveFile.isEmpty();
    const bool updateRates = a.ratesFile.has_value();
    const bool import = !a.transcriptFile.isEmpty();
    const bool notice = !a.noticeFile.isEmpty();
    const bool relief = a.reliefDate.isValid();
    const bool initFirm = !a.adminRole.isEmpty();
    const bool history = a.history.has_value();
    const int modes = int(balance) + int(retrieve) + int(save) + int(!a.report.isEmpty()) + int(updateRates) +
                      int(import) + int(notice) + int(relief) + int(initFirm) + int(a.copyToServer) + int(history);
    if (modes != 1)
        return usage(modes == 0
                         ? QStringLiteral("--report, --balance-at, --retrieve, --save-taxpayer, "
                                          "--update-rates, --import-transcript, --check-notice or --penalty-relief is "
                                          "required")
                         : QStringLiteral("give one of --report, --balance-at, --retrieve, --save-taxpayer, "
                                          "--update-rates, --import-transcript, --check-notice, --penalty-relief"));
    if ((initFirm || a.copyToServer || history) && !a.server)
        return usage(QStringLiteral("--init-firm, --copy-to-server and --history go with --server"));
    if (a.all && (a.report != QLatin1String("summary") || a.csvFile.isEmpty() || a.taxpayer))
        return usage(QStringLiteral("--all goes with --report summary and --csv FILE, without --taxpayer"));
    const bool netting = !a.client.isEmpty() && !import;
    if (netting != (a.report == QLatin1String("netting")) || (netting && a.taxpayer))
        return usage(QStringLiteral("--client goes with --report netting, without --taxpayer"));
    if ((!a.claimFile.isEmpty() || !a.methods.empty()) && !netting)
        return usage(QStringLiteral("--claim and --method go with --client"));
    if (!a.report.isEmpty() && !netting && !ReportKind::byKey(a.report))
        return usage(QStringLiteral("unknown report \"%1\"").arg(a.report));
    if ((!a.pdfFile.isEmpty() || !a.csvFile.isEmpty()) && a.report.isEmpty() && !notice && !relief)
        return usage(QStringLiteral("--pdf and --csv go with --report, --check-notice or --penalty-relief"));
    if (!a.ticked.empty() && !relief)
        return usage(QStringLiteral("--ticked goes with --penalty-relief"));
    if (a.taxYearEnd.isValid() && a.report != QLatin1String("estimated"))
        return usage(QStringLiteral("--tax-year-end goes with --report estimated"));
    if (!retrieve && !updateRates && !a.all && !netting && !import && !initFirm && !a.copyToServer && !history &&
        !a.taxpayer)
        return usage(QStringLiteral("--taxpayer is required"));
    if (a.csvFile == QLatin1String("-") && a.pdfFile == QLatin1String("-"))
        return usage(QStringLiteral("--csv and --pdf cannot both go to standard output"));
    ConsoleReporter::exportToStandardOutput = a.csvFile == QLatin1String("-") || a.pdfFile == QLatin1String("-");

    QString dataFolder = a.dataDir;
    if (dataFolder.isEmpty()) {
        dataFolder = Settings::newpath();
        // On the server, only a save (the empty template) and the copy to it (the file) need the data folder.
        if (!Settings::usableNewpath(dataFolder) && (!a.server || save || a.copyToServer))
            return usage(QStringLiteral("no data folder: the setting \"Newpath\" is \"%1\", which names no folder; "
                                        "give --data-dir")
                             .arg(dataFolder));
    }
    const QString databaseFile = QDir(dataFolder).absoluteFilePath(Settings::databaseFileName);
    CaseReader::setRefundTakesFirstPart(Settings::refundTakesFirstPart());
    // No export or save replaces the files of this data folder.
    ProgramFiles::setDataFolder(QDir(dataFolder).absolutePath());
    try {
        std::unique_ptr<Database> opened;
        PostgresDatabase* server = nullptr;
        QString where = QDir::toNativeSeparators(databaseFile);
        if (a.server) {
            auto s =
                openServer(*a.server, initFirm ? PostgresDatabase::Mode::Empty : PostgresDatabase::Mode::ReadWrite);
            server = s.get();
            where = server->shown();
            opened = std::move(s);
            if (initFirm) {
                server->prepareFirm(a.adminRole, a.staffRole);
                QTextStream(stdout) << "Prepared " << where << " for the roles " << a.adminRole << " and "
                                    << a.staffRole << '\n';
                return exitDone;
            }
            if (a.copyToServer)
                return runCopyToServer(*server, databaseFile);
            if (history)
                return runHistory(*server, *a.history);
            if (retrieve)
                return runServerRetrieve(*server, a);
        } else {
            if (retrieve)
                return runRetrieve(databaseFile, a);
            opened = std::make_unique<SqliteDatabase>(databaseFile);
        }
        Database& db = *opened;
        if (updateRates)
            return runUpdateRates(db, a);
        if (a.all)
            return runWholeBook(db, a);
        if (netting)
            return runNetting(db, a);
        if (import)
            return runImport(db, a);
        const auto tp = CaseReader(db).read(*a.taxpayer);
        if (!tp)
            return usage(QStringLiteral("there is no taxpayer number %1 in %2").arg(*a.taxpayer).arg(where));
        if (save)
            return server ? runServerSave(*server, dataFolder, a) : runSave(dataFolder, a);
        if (balance)
            return runBalance(a, *tp);
        if (notice)
            return runNoticeCheck(a, *tp);
        if (relief)
            return runPenaltyRelief(a, *tp);
        if (a.report == QLatin1String("estimated") && tp->estimatedYears.size() > 0) {
            // One tax year's report: the one asked for, or the latest.
            QStringList years;
            for (const auto& y : tp->estimatedYears)
                years << y.figures.yearEnd.toString(QStringLiteral("MM/dd/yyyy"));
            const QDate wanted = a.taxYearEnd.isValid() ? a.taxYearEnd : tp->estimatedYears.back().figures.yearEnd;
            if (!tp->estimatedYear(wanted))
                return stopped(QStringLiteral("Taxpayer %1 has no estimated tax figures for the tax year ending %2; "
                                              "it has them for %3.")
                                   .arg(*a.taxpayer)
                                   .arg(a.taxYearEnd.toString(QStringLiteral("MM/dd/yyyy")), years.join(", ")));
            if (!a.taxYearEnd.isValid() && years.size() > 1)
                ConsoleReporter::err() << "The tax year ending " << years.last() << " (of " << years.join(", ")
                                       << "); --tax-year-end chooses another." << Qt::endl;
            return runReport(db, a, tp->withEstimatedYear(wanted));
        }
        return runReport(db, a, *tp);
    } catch (const StoreError& e) {
        return stopped(e.message());
    } catch (const std::bad_alloc&) {
        return stopped(QStringLiteral("The program ran out of memory."));
    } catch (const std::exception& e) {
        return stopped(QString::fromStdString(e.what()));
    } catch (...) {
        return stopped(QStringLiteral("The program failed for a reason it cannot name."));
    }
}
