// Numbers in files and fields never follow the user's locale: Qt sets the C
// library's locale from the environment, so every conversion goes through the
// "C" locale explicitly.
#pragma once

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
