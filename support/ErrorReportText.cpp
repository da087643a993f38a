#include "ErrorReportText.h"

QString ProgramVersion::text() const {
    return QStringLiteral("Version %1.%2%3").arg(major).arg(minor).arg(revision);
}

ProgramVersion ProgramVersion::current() {
    return {TALVORO_VERSION_MAJOR, TALVORO_VERSION_MINOR, TALVORO_VERSION_PATCH};
}

QString errorReportText(const QString& title, const ProgramVersion& version, const QString& current,
                        const QString& previous, const QString& beforePrevious, const Failure& failure) {
    const QString br = QStringLiteral("\r\n");
    const QString dashes(134, QLatin1Char('-'));
    QString text = QStringLiteral("ERROR REPORT") + br + br + title + QStringLiteral("  ") + version.text() + br +
                   dashes + br + br + QStringLiteral("An error occurred within:") + br + current + br + br +
                   failure.description + QStringLiteral(" (") + QString::number(failure.number) + QStringLiteral(")") +
                   br + br;
    if (!failure.details.isEmpty())
        text += QStringLiteral("Details:") + br + QString(failure.details).replace(QLatin1Char('\n'), br) + br + br;
    if (!previous.isEmpty())
        text +=
            QStringLiteral("Previous sections called:") + br + previous + br + beforePrevious + br + br + dashes + br;
    return text;
}
