// Numbers in files and fields never follow the user's locale: Qt sets the C
// library's locale from the environment, so every conversion goes through the
// "C" locale explicitly.
#pragma once

#include <cstddef>
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

// The length of the decimal number at the start of psz: an optional sign,
// digits with an optional point and fraction (one digit at least), an optional
// exponent. 0 when none starts there.
size_t QvDecimalLength(const char* psz);

// The leading decimal number of the text, after blanks, as atof reads it in the
// "C" locale but without its hexadecimal, infinity and NaN forms ("0x2" reads
// as 0, "inf" as nothing); 0 when the text does not start with one.
double QvReadDecimal(const char* psz);
