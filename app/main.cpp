#include "CaseReader.h"
#include "InfoWindows.h"
#include "MainWindow.h"
#include "MessageBoxes.h"
#include "ScreenFit.h"
#include "Settings.h"
#include "StartUp.h"

#include <QScreen>
#include <QTextStream>

int main(int argc, char** argv) {
    TalvoroApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talvoro"));
    QApplication::setOrganizationName(QStringLiteral("Norvane"));
    SingleCopy copy;
    if (!copy.acquire()) {
        // Said, not silent: a user who started the program again would otherwise see nothing happen.
        QTextStream(stderr) << SingleCopy::alreadyRunning << Qt::endl;
        MessageBoxes::show(nullptr, SingleCopy::alreadyRunning);
        return 1;
    }
    StartUp::settingsAndDatabaseCheck(QCoreApplication::applicationDirPath());
    // Every window inside the screen, whatever its size and scale.
    ScreenFit::install();

    CaseReader::setRefundTakesFirstPart(Settings::refundTakesFirstPart());
    MainWindow window;
    // Closing the main window ends the program, even with an error report or another window still open.
    QObject::connect(&window, &MainWindow::closing, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    auto showMain = [&window] {
        window.show();
        if (const QScreen* screen = window.screen())
            window.move(screen->availableGeometry().center() - window.rect().center());
        window.load();
    };
    if (Settings::showSplash() == QLatin1String("True")) {
        auto* splash = new SplashWindow;
        splash->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(splash, &QDialog::finished, &window, showMain);
        splash->show();
    } else {
        showMain();
    }
    return app.exec();
}
