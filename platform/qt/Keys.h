// Qt's key events as the original platform's virtual-key codes.
#pragma once

#include <Qt>

// Qt key event data to the virtual-key code; 0 when the key has none.
// `nativeScanCode` is only used to recover the digit keys of the main
// keyboard pressed with Shift on X11.
unsigned int QvVirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers, unsigned int nativeScanCode = 0);
