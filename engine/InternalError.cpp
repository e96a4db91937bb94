#include "engine/InternalError.h"

#include <cstdio>
#include <cstdlib>

#include "platform/CString.h"
#include "platform/Dialog.h"

void InternalErrorExit(int nCode)
{
    CString strMessage;
    // No address here: the one who can help is whoever installed the program.
    strMessage.Format("Errore dell'applicazione; si prega di annotare il codice QUOR%i "
                      "e di comunicarlo a chi ha installato il programma.",
                      nCode);
    if (AfxHaveDisplay()) {
        AfxMessageBox(strMessage, MB_OK, 0);
    } else {
        std::fprintf(stderr, "%s\n", strMessage.c_str());
        std::fflush(stderr);
    }
    std::exit(nCode);
}
