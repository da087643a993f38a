// A transfer file as the user may pick one: whatever its bytes, reading it gives the taxpayer it holds or a clear
// refusal, never a crash.
#include "StoreError.h"
#include "TaxpayerTransfer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("transfer.mdb"));
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    try {
        TaxpayerTransfer::peek(file);
    } catch (const StoreError&) {
    } catch (const std::exception&) {
    }
    return 0;
}
