#include "engine/InternalError.h"

#include <cstdio>
#include <cstdlib>

#include "platform/CString.h"
#include "platform/Dialog.h"

void InternalErrorExit(int nCode)
{
    CString strMessage;
    strMessage.Format("Errore dell'applicazione; si prega di informare Quorvane Team (quorvane@example.org) "
                      "riportando il codice QUOR%i.",
                      nCode);
    if (AfxHaveDisplay()) {
        AfxMessageBox(strMessage, MB_OK, 0);
    } else {
        std::fprintf(stderr, "%s\n", strMessage.c_str());
        std::fflush(stderr);
    }
    std::exit(nCode);
}
