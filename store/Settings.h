#pragma once

#include <QString>

// The program's per-user settings, strings (and the list of recent files), under application key "Vorlent", section
// "Install". Every key and its first-start value is here and nowhere else.
class Settings {
public:
    static inline const QString newpathKey = QStringLiteral("Newpath");
    static inline const QString errorStateKey = QStringLiteral("ErrorState");
    static inline const QString showSplashKey = QStringLiteral("ShowSplash");
    static inline const QString recentFilesKey = QStringLiteral("RecentFiles");
    // Which part of a corporation's overpayment above $10,000 a refund takes first: "True" the first $10,000 (what
    // remains earns the lower rate on all of it), otherwise the part above it (what remains keeps the first $10,000).
    static inline const QString refundTakesFirstPartKey = QStringLiteral("RefundTakesFirst10000");
    // The firm's server the program works on (its connection keywords, never a password); empty: the data folder's
    // file.
    static inline const QString serverKey = QStringLiteral("Server");

    // Writes the first-start values of the keys that are not stored yet: "Newpath" = `programFolder` with a
    // trailing separator, "ErrorState" = "False", "ShowSplash" = "True".
    static void writeFirstStartValues(const QString& programFolder);

    static QString newpath();
    static void setNewpath(const QString& value); // stored exactly as given
    static QString errorState();
    static void setErrorState(bool on); // "True" / "False"
    // Only "True" (in any case) means an error stopped the backups: an empty value or any other text leaves them on.
    static bool inErrorState();
    static bool refundTakesFirstPart();
    static void setRefundTakesFirstPart(bool on);
    static QString server();
    static void setServer(const QString& address);
    static QString showSplash();
    static void setShowSplash(bool on);

    // The saved-taxpayer files last saved or retrieved, newest first, at most `recentLimit`.
    static QStringList recentFiles();
    static void addRecentFile(const QString& file);
    static void removeRecentFile(const QString& file);
    static constexpr int recentLimit = 8;
    // The file the settings are kept in, as the user finds it on disk.
    static QString fileName();

    // Whether a "Newpath" value can name the data folder: not empty, and not a path to something other than a folder
    // (a folder that does not exist yet is reported where the database is looked for).
    static bool usableNewpath(const QString& value);
    // A folder as "Newpath" stores it: with its trailing separator.
    static QString withSeparator(const QString& folder);

    // "Newpath" followed directly by the database's file name.
    static QString databasePath();
    static QString databasePath(const QString& newpath);

    static inline const QString databaseFileName = QStringLiteral("kelvadat.mdb");
    static inline const QString templateFileName = QStringLiteral("kelvaSav.mdb");

private:
    static QString read(const QString& key);
    static void write(const QString& key, const QString& value);
};
