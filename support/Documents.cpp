#include "Documents.h"

#include "SectionTrail.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
std::function<bool(const QString&)>& hook() {
    static std::function<bool(const QString&)> h;
    return h;
}
} // namespace

bool Documents::shellDocument(const QString& pathOrAddress) {
    SectionTrail::enter(QStringLiteral("Shell2.ShellDocument"));
    if (hook())
        return hook()(pathOrAddress);
    const QUrl url =
        pathOrAddress.contains(QStringLiteral("://")) ? QUrl(pathOrAddress) : QUrl::fromLocalFile(pathOrAddress);
    return QDesktopServices::openUrl(url);
}

void Documents::setHook(std::function<bool(const QString&)> h) {
    hook() = std::move(h);
}
