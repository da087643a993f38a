// Takes one backup snapshot, so that a test can kill the process part-way through it.
//
//   talvoro-test-snapshot SOURCE DESTINATION

#include "Snapshot.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    try {
        writeSnapshot(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const StoreError& e) {
        QTextStream(stderr) << e.message() << '\n';
        return 1;
    }
    return 0;
}
