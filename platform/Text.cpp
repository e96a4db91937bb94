#include "platform/Text.h"

#include <QByteArray>

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five unassigned codes, shown as U+FFFD.
const char16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

QChar FromCp1252(unsigned char c)
{
    if (c >= 0x80 && c < 0xA0) {
        char16_t u = kCp1252High[c - 0x80];
        return QChar(u ? u : 0xFFFD);
    }
    return QChar(static_cast<char16_t>(c));
}

// The Windows-1252 byte of a character, or -1 when it has none.
int ToCp1252(QChar ch)
{
    char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u && u != 0) return 0x80 + i;
    return -1;
}
}  // namespace

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

QString QvDisplayText(const char* bytes)
{
    return QvDisplayText(CString(bytes));
}

QString QvDisplayText(const CString& bytes)
{
    const std::string& s = bytes.str();
    if (QvIsValidUtf8(s.data(), static_cast<int>(s.size())))
        return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    QString out;
    out.reserve(static_cast<qsizetype>(s.size()));
    for (unsigned char c : s) out.append(FromCp1252(c));
    return out;
}

CString QvStoredText(const QString& text, const CString* previous)
{
    if (previous && QvDisplayText(*previous) == text) return *previous;
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    bool fits = true;
    for (QChar ch : text) {
        int b = ToCp1252(ch);
        if (b < 0) {
            fits = false;
            break;
        }
        out.push_back(static_cast<char>(b));
    }
    // Windows-1252 bytes that happen to form valid UTF-8 (typed "Ã©", say) would
    // be shown as something else: such texts are stored as UTF-8 too.
    bool ascii = true;
    for (unsigned char c : out) ascii = ascii && c < 0x80;
    if (fits && (ascii || !QvIsValidUtf8(out.data(), static_cast<int>(out.size())))) return CString(out);
    QByteArray utf8 = text.toUtf8();
    return CString(std::string(utf8.constData(), static_cast<size_t>(utf8.size())));
}
