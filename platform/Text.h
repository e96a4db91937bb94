// Names and parameter texts are bytes. On screen a text that is valid UTF-8 is
// shown as UTF-8 and any other as Windows-1252; text typed by the user is
// stored as Windows-1252 when every character fits, else as UTF-8.
#pragma once

#include <string>

#include "platform/CString.h"

// The text as shown, in UTF-8.
std::string QvDisplayUtf8(const CString& bytes);

// The text as shown, character by character.
std::u32string QvDisplayChars(const CString& bytes);

// The bytes to store for a text typed by the user (UTF-8). When `previous` is
// given and the typed text is exactly how `previous` is shown, `previous` is
// returned unchanged, so that untouched texts keep their bytes.
CString QvStoredText(const std::string& utf8, const CString* previous = nullptr);

bool QvIsValidUtf8(const char* p, int n);

// The Unicode character of a Windows-1252 byte (U+FFFD for the five unassigned ones).
char32_t QvCp1252ToUnicode(unsigned char c);
