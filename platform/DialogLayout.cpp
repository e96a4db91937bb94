#include "platform/DialogLayout.h"

#include <QByteArray>
#include <QFontMetrics>
#include <QString>

#include <cmath>
#include <string>

#include "platform/Afx.h"
#include "platform/Locale.h"

QFont QvDialogFont()
{
    // The templates name "MS Sans Serif" 8 pt, which does not exist here:
    // every dialog uses the same sans face at the same size instead.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QvDialogBaseUnits QvBaseUnits(const QFont& font)
{
    QFontMetrics fm(font);
    int width = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    QvDialogBaseUnits units;
    units.cx = (width / 26 + 1) / 2;
    units.cy = fm.height();
    if (units.cx < 1) units.cx = 1;
    if (units.cy < 1) units.cy = 1;
    return units;
}

namespace {
// a * b / c rounded half away from zero, as the original platform's MulDiv.
int MulDiv(int a, int b, int c)
{
    long long p = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : -((-p + half) / c));
}
}  // namespace

int QvDluToPixelsX(int dlu, const QvDialogBaseUnits& units)
{
    return MulDiv(dlu, units.cx, 4);
}

int QvDluToPixelsY(int dlu, const QvDialogBaseUnits& units)
{
    return MulDiv(dlu, units.cy, 8);
}

QRect QvMapDialogRect(int x, int y, int cx, int cy, const QvDialogBaseUnits& units)
{
    return QRect(QvDluToPixelsX(x, units), QvDluToPixelsY(y, units), QvDluToPixelsX(cx, units),
                 QvDluToPixelsY(cy, units));
}

unsigned int QvVirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers, unsigned int nativeScanCode)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60u + static_cast<unsigned>(key - Qt::Key_0);
        switch (key) {
        case Qt::Key_Asterisk: return 0x6A;  // VK_MULTIPLY
        case Qt::Key_Plus: return 0x6B;      // VK_ADD
        case Qt::Key_Minus: return 0x6D;     // VK_SUBTRACT
        case Qt::Key_Period:
        case Qt::Key_Comma: return 0x6E;     // VK_DECIMAL
        case Qt::Key_Slash: return 0x6F;     // VK_DIVIDE
        default: break;
        }
    } else if (nativeScanCode >= 10 && nativeScanCode <= 19) {
        // X11 key codes of the top row "1".."9", "0": the digit whatever the
        // shift state or layout gives as character, like the original platform.
        return nativeScanCode == 19 ? 0x30u : 0x31u + (nativeScanCode - 10);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<unsigned>(key);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<unsigned>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70u + static_cast<unsigned>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Meta: return 0x5B;  // VK_LWIN
    case Qt::Key_Menu: return 0x5D;  // VK_APPS
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_QuoteLeft: return 0xC0;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Backslash: return 0xDC;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_Apostrophe: return 0xDE;
    default: return 0;
    }
}

bool QvParseFieldNumber(const QString& text, double& value)
{
    QByteArray bytes = text.toUtf8();
    const char* p = bytes.constData();
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (blank(*p)) ++p;
    const char* start = p;
    p += QvDecimalLength(p);
    if (p == start) return false;
    std::string number(start, static_cast<size_t>(p - start));
    while (blank(*p)) ++p;
    // Embedded NUL characters end the C string early: they are not a number either.
    if (*p != '\0' || p != bytes.constData() + bytes.size()) return false;
    double d = QvAtof(number.c_str());
    if (!std::isfinite(d)) return false;
    value = d;
    return true;
}
