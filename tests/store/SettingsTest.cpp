#include "Settings.h"

#include <QDir>
#include <QSettings>

#include <gtest/gtest.h>

TEST(Settings, FirstStartWritesTheDefaultsAndKeepsStoredValues) {
    QSettings raw(QSettings::UserScope, "Vorlent", "Vorlent");
    raw.remove("Install");
    raw.sync();

    Settings::writeFirstStartValues("/opt/talvoro");
    EXPECT_EQ(Settings::newpath(), "/opt/talvoro/");
    EXPECT_EQ(Settings::errorState(), "False");
    EXPECT_EQ(Settings::showSplash(), "True");
    EXPECT_EQ(Settings::databasePath(), "/opt/talvoro/kelvadat.mdb");

    // Later starts keep what the user stored, exactly as typed.
    Settings::setNewpath("/data/clients");
    Settings::setShowSplash(false);
    Settings::setErrorState(true);
    Settings::writeFirstStartValues("/opt/talvoro");
    EXPECT_EQ(Settings::newpath(), "/data/clients");
    EXPECT_EQ(Settings::showSplash(), "False");
    EXPECT_EQ(Settings::errorState(), "True");
    EXPECT_EQ(raw.value("Install/ErrorState").toString(), "True");
    Settings::setErrorState(false);
}
