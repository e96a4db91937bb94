// Names and parameter texts are bytes. On screen a text that is valid UTF-8 is
// shown as UTF-8 and any other as Windows-1252; text typed by the user is
// stored as Windows-1252 when every character fits, else as UTF-8.
#pragma once

#include <QString>

#include "platform/CString.h"

QString QvDisplayText(const CString& bytes);
QString QvDisplayText(const char* bytes);

// The bytes to store for a text typed by the user. When `previous` is given and
// the typed text is exactly how `previous` is shown, `previous` is returned
// unchanged, so that untouched texts keep their bytes.
CString QvStoredText(const QString& text, const CString* previous = nullptr);

bool QvIsValidUtf8(const char* p, int n);
