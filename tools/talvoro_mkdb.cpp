// Makes the databases the program is delivered with: every table of the schema, and, when the data files are given,
// the rate tables and the failure-to-file minimums filled from them. The program itself never creates a table; the
// build runs this.
//
//   talvoro-mkdb --out FILE [--rates CSV --minimums CSV]

#include "Database.h"
#include "RatesFile.h"
#include "Schema.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "WholeFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: talvoro-mkdb --out FILE [--rates CSV --minimums CSV]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString out, rates, minimums;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == QLatin1String("--rates") && i + 1 < args.size())
            rates = args[++i];
        else if (args[i] == QLatin1String("--minimums") && i + 1 < args.size())
            minimums = args[++i];
        else
            return usage();
    }
    if (out.isEmpty())
        return usage();

    // A file of this run's own beside the target: two builds making the same file at once (a parallel build may run
    // this step for two targets) never write into, or remove, each other's.
    QString partial;
    try {
        partial = reserveTemporaryBeside(out, QStringLiteral(".part"));
        QFile::remove(partial);
        const std::vector<PublishedRate> published =
            rates.isEmpty() ? std::vector<PublishedRate>{} : readPublishedRates(rates);
        {
            SqliteDatabase db(partial, SqliteDatabase::Mode::Create);
            db.begin();
            for (const QString& statement : Schema::createStatements())
                db.execNative(statement);
            insertPublishedRates(db, published);
            if (!minimums.isEmpty())
                insertFailureToFileMinimums(db, readFailureToFileMinimums(minimums));
            db.commit();
            db.checkSchema();
        }
        renameOver(partial, out);
    } catch (const StoreError& e) {
        if (!partial.isEmpty())
            QFile::remove(partial);
        QTextStream(stderr) << "talvoro-mkdb: " << e.message() << '\n';
        return 1;
    }
    return 0;
}
