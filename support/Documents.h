#pragma once

#include <QString>

#include <functional>

// Hands a document path or web address to the desktop's "open" action. Tests install a hook instead.
namespace Documents {
bool shellDocument(const QString& pathOrAddress);
void setHook(std::function<bool(const QString&)> hook);

inline const QString makerSite = QStringLiteral("https://www.norvane.example/");
inline const QString rateAnnouncement = QStringLiteral("https://www.norvane.example/rr.pdf");
} // namespace Documents
