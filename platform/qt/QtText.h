// The program's texts as Qt strings, for the Qt platform and Qt-based tools.
#pragma once

#include <QString>

#include "platform/Text.h"

inline QString QvDisplayText(const CString& bytes)
{
    return QString::fromStdString(QvDisplayUtf8(bytes));
}

inline QString QvDisplayText(const char* bytes)
{
    return QvDisplayText(CString(bytes));
}

inline CString QvStoredText(const QString& text, const CString* previous = nullptr)
{
    return QvStoredText(text.toStdString(), previous);
}
