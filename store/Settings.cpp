#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr auto applicationKey = "Vorlent";
constexpr auto section = "Install";

QString boolText(bool on) {
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

QString Settings::read(const QString& key) {
    QSettings s(QSettings::UserScope, QLatin1String(applicationKey), QLatin1String(applicationKey));
    s.beginGroup(QLatin1String(section));
    return s.value(key).toString();
}

void Settings::write(const QString& key, const QString& value) {
    QSettings s(QSettings::UserScope, QLatin1String(applicationKey), QLatin1String(applicationKey));
    s.beginGroup(QLatin1String(section));
    s.setValue(key, value);
    s.endGroup();
    s.sync();
}

void Settings::writeFirstStartValues(const QString& programFolder) {
    QSettings s(QSettings::UserScope, QLatin1String(applicationKey), QLatin1String(applicationKey));
    s.beginGroup(QLatin1String(section));
    if (!s.contains(newpathKey))
        s.setValue(newpathKey, withSeparator(programFolder));
    if (!s.contains(errorStateKey))
        s.setValue(errorStateKey, boolText(false));
    if (!s.contains(showSplashKey))
        s.setValue(showSplashKey, boolText(true));
    s.endGroup();
    s.sync();
}

QString Settings::newpath() {
    return read(newpathKey);
}
void Settings::setNewpath(const QString& value) {
    write(newpathKey, value);
}
QString Settings::errorState() {
    return read(errorStateKey);
}
void Settings::setErrorState(bool on) {
    write(errorStateKey, boolText(on));
}
bool Settings::inErrorState() {
    return errorState().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

bool Settings::usableNewpath(const QString& value) {
    if (value.trimmed().isEmpty())
        return false;
    const QFileInfo info(value);
    return !info.exists() || info.isDir();
}

QString Settings::withSeparator(const QString& folder) {
    QString f = QDir::toNativeSeparators(folder);
    if (!f.endsWith(QDir::separator()))
        f += QDir::separator();
    return f;
}

bool Settings::refundTakesFirstPart() {
    return read(refundTakesFirstPartKey).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}
void Settings::setRefundTakesFirstPart(bool on) {
    write(refundTakesFirstPartKey, boolText(on));
}

QString Settings::server() {
    return read(serverKey);
}
void Settings::setServer(const QString& address) {
    write(serverKey, address);
}

QString Settings::showSplash() {
    return read(showSplashKey);
}
void Settings::setShowSplash(bool on) {
    write(showSplashKey, boolText(on));
}

QString Settings::databasePath() {
    return databasePath(newpath());
}
QString Settings::databasePath(const QString& newpath) {
    return newpath + databaseFileName;
}

QStringList Settings::recentFiles() {
    QSettings s(QSettings::UserScope, QLatin1String(applicationKey), QLatin1String(applicationKey));
    s.beginGroup(QLatin1String(section));
    QStringList files = s.value(recentFilesKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, recentLimit);
}

void Settings::addRecentFile(const QString& file) {
    const QString absolute = QFileInfo(file).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    QSettings s(QSettings::UserScope, QLatin1String(applicationKey), QLatin1String(applicationKey));
    s.beginGroup(QLatin1String(section));
    s.setValue(recentFilesKey, files.mid(0, recentLimit));
    s.endGroup();
    s.sync();
}

void Settings::removeRecentFile(const QString& file) {
    QStringList files = recentFiles();
    files.removeAll(QFileInfo(file).absoluteFilePath());
    files.removeAll(file);
    QSettings s(QSettings::UserScope, QLatin1String(applicationKey), QLatin1String(applicationKey));
    s.beginGroup(QLatin1String(section));
    s.setValue(recentFilesKey, files);
    s.endGroup();
    s.sync();
}

QString Settings::fileName() {
    QSettings s(QSettings::UserScope, QLatin1String(applicationKey), QLatin1String(applicationKey));
    return QDir::toNativeSeparators(s.fileName());
}
