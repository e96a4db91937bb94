#include "platform/Text.h"

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five unassigned codes, shown as U+FFFD.
const char16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// The Windows-1252 byte of a character, or -1 when it has none.
int ToCp1252(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u && u != 0) return 0x80 + i;
    return -1;
}

void AppendUtf8(std::string& out, char32_t u)
{
    if (u < 0x80) {
        out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (u >> 6)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else if (u < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (u >> 18)));
        out.push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

// The next character of valid UTF-8 at s[i], advancing i.
char32_t NextUtf8(const std::string& s, size_t& i)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    char32_t u = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra && i + static_cast<size_t>(k) < s.size(); ++k)
        u = (u << 6) | (static_cast<unsigned char>(s[i + static_cast<size_t>(k)]) & 0x3F);
    i += static_cast<size_t>(extra) + 1;
    return u;
}
}  // namespace

char32_t QvCp1252ToUnicode(unsigned char c)
{
    if (c >= 0x80 && c < 0xA0) {
        char16_t u = kCp1252High[c - 0x80];
        return u ? u : 0xFFFD;
    }
    return c;
}

bool QvIsValidUtf8(const char* p, int n)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(p);
    int i = 0;
    while (i < n) {
        unsigned char c = s[i];
        int extra;
        unsigned int cp;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1F; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0F; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07; }
        else return false;
        if (i + extra >= n) return false;
        for (int k = 1; k <= extra; ++k) {
            unsigned char cc = s[i + k];
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

std::string QvDisplayUtf8(const CString& bytes)
{
    const std::string& s = bytes.str();
    if (QvIsValidUtf8(s.data(), static_cast<int>(s.size()))) return s;
    std::string out;
    out.reserve(s.size() * 2);
    for (unsigned char c : s) AppendUtf8(out, QvCp1252ToUnicode(c));
    return out;
}

std::u32string QvDisplayChars(const CString& bytes)
{
    const std::string& s = bytes.str();
    std::u32string out;
    out.reserve(s.size());
    if (QvIsValidUtf8(s.data(), static_cast<int>(s.size())))
        for (size_t i = 0; i < s.size();) out.push_back(NextUtf8(s, i));
    else
        for (unsigned char c : s) out.push_back(QvCp1252ToUnicode(c));
    return out;
}

CString QvStoredText(const std::string& utf8, const CString* previous)
{
    if (previous && QvDisplayUtf8(*previous) == utf8) return *previous;
    // Text from a control is valid UTF-8; anything else is kept as it came.
    if (!QvIsValidUtf8(utf8.data(), static_cast<int>(utf8.size()))) return CString(utf8);
    std::string out;
    out.reserve(utf8.size());
    bool fits = true;
    for (size_t i = 0; i < utf8.size() && fits;) {
        int b = ToCp1252(NextUtf8(utf8, i));
        if (b < 0) fits = false;
        else out.push_back(static_cast<char>(b));
    }
    // Windows-1252 bytes that happen to form valid UTF-8 (typed "Ã©", say) would
    // be shown as something else: such texts are stored as UTF-8 too.
    bool ascii = true;
    for (unsigned char c : out) ascii = ascii && c < 0x80;
    if (fits && (ascii || !QvIsValidUtf8(out.data(), static_cast<int>(out.size())))) return CString(out);
    return CString(utf8);
}
