#include "editor/NameRules.h"

#include <string>

namespace {
// A NUL is no line break: the file keeps it inside a name, and so does the editor.
bool IsLineBreak(char ch) { return ch == '\r' || ch == '\n'; }
}  // namespace

CString QvStorableSystemName(const CString& name)
{
    std::string out;
    out.reserve(name.str().size());
    for (char ch : name.str())
        if (ch != ']' && !IsLineBreak(ch)) out += ch;
    return CString(out);
}

CString QvStorablePlanetName(const CString& name, int nPosition)
{
    std::string out;
    out.reserve(name.str().size());
    for (char ch : name.str()) {
        if (IsLineBreak(ch)) continue;
        bool bLeading = out.empty();
        unsigned char uch = static_cast<unsigned char>(ch);
        if (bLeading && (uch <= 32 || ch == '[')) continue;
        out += ch;
    }
    if (out.empty()) {
        CString fallback;
        fallback.Format("Pianeta %d", nPosition);
        return fallback;
    }
    return CString(out);
}

CString QvSingleLine(const CString& text)
{
    std::string out;
    out.reserve(text.str().size());
    for (char ch : text.str())
        if (!IsLineBreak(ch)) out += ch;
    return CString(out);
}
