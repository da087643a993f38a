#include "Settings.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Settings::writeFirstStartValues(QCoreApplication::applicationDirPath());

    QMainWindow window;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(QStringLiteral("Norvane Talvoro"));
    auto* label = new QLabel(QStringLiteral("Data directory: ") + Settings::newpath(), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
