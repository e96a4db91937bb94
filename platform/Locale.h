// Numbers in files and fields never follow the user's locale: Qt sets the C
// library's locale from the environment, so every conversion goes through the
// "C" locale explicitly.
#pragma once

#include <string>

// Puts LC_NUMERIC back to "C" for the whole process (call after QApplication).
void QvFixNumericLocale();

// Makes the calling thread use the "C" locale while the object lives.
class CCLocaleScope {
public:
    CCLocaleScope();
    ~CCLocaleScope();
    CCLocaleScope(const CCLocaleScope&) = delete;
    CCLocaleScope& operator=(const CCLocaleScope&) = delete;

private:
    void* m_previous;
};

// The C library's atof, in the "C" locale.
double QvAtof(const char* psz);

// The number typed in a field, as the original framework reads it: optional
// blanks, a decimal number in the "C" locale (sign, digits, '.', exponent),
// optional blanks and nothing else. Infinite results are refused as well.
bool QvParseFieldNumber(const std::string& text, double& value);
