#pragma once

#include <QString>

// The keystroke filter of the record editors: the character to use for the key typed into a field with `tag`;
// 0 suppresses the key.
int DataEntryValidation(int keyAscii, const QString& tag);
