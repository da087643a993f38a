#include "InfoWindows.h"
#include "MainWindow.h"
#include "Settings.h"
#include "StartUp.h"

#include <QScreen>

int main(int argc, char** argv) {
    TalvoroApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talvoro"));
    QApplication::setOrganizationName(QStringLiteral("Norvane"));
    SingleCopy copy;
    if (!copy.acquire())
        return 0;
    StartUp::settingsAndDatabaseCheck(QCoreApplication::applicationDirPath());

    MainWindow window;
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
