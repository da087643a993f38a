#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test runs in the C locale, with settings in a throw-away folder: nothing touches the user's own files.
int main(int argc, char** argv) {
    qputenv("TZ", "UTC");
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsDir.path()));
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
