// Basic types and constants of the dialog framework that the program is written against.
#pragma once

typedef int BOOL;
typedef unsigned int UINT;
typedef long long INT_PTR;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Handles of the platform's windows and icons: opaque, as on the original platform.
struct HWND__;
typedef HWND__* HWND;
struct HICON__;
typedef HICON__* HICON;

enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };
enum : UINT { MB_OK = 0x0, MB_YESNO = 0x4, MB_ICONQUESTION = 0x20 };
enum : int { CB_ERR = -1 };

// Virtual-key codes that the program itself names.
enum : UINT { VK_RETURN = 0x0D, VK_ESCAPE = 0x1B };
