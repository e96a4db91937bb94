// Icon 128, the program's: its pictures are icon32.png and icon16.png.
#include "platform/IconResource.h"
#include "res/resource.h"

const UINT kQvApplicationIcon = IDR_MAINFRAME;

const char* QvFindIconResource(UINT nID)
{
    return nID == IDR_MAINFRAME ? "icon" : nullptr;
}
