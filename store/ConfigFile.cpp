#include "store/ConfigFile.h"

#include <sys/stat.h>

#include "platform/ReplaceFile.h"

const char* const kConfigFileName = "Quorvane.ini";

BOOL LoadSystemsFromFile(const char* pszPath, CSystemList& systems,
                         const std::function<void(const CSystemDlg&)>& onAdded)
{
    // Only a plain file is a configuration file: a folder opens like one here,
    // a FIFO would wait for a writer for ever, and a device such as /dev/zero
    // would give one endless line.
    struct stat st;
    if (!pszPath || (::stat(pszPath, &st) == 0 && !S_ISREG(st.st_mode))) return FALSE;
    CStdioFile file(pszPath, CStdioFile::modeRead);
    if (!file.IsOpen()) return FALSE;
    // Some editors put a UTF-8 byte-order mark before the first "[": it is no
    // part of the first line, or the first system would be lost.
    CString first;
    if (file.ReadString(first)) {
        if (first.str().compare(0, 3, "\xEF\xBB\xBF") == 0) first.str().erase(0, 3);
        file.UnreadString(first);
    }
    CSystemDlg scratch;
    while (scratch.ReadFromFile(file)) {
        int n = systems.GetSize();
        systems.SetSize(n + 1);
        systems[n] = scratch;
        if (onAdded) onAdded(systems[n]);
    }
    return TRUE;
}

BOOL SaveSystemsToFile(const char* pszPath, const CSystemList& systems, CString* pError)
{
    CString reason;
    const BOOL saved = QvReplaceFile(pszPath, [&](CStdioFile& file) {
        for (int i = 0; i < systems.GetSize() && !file.GetError(); ++i) systems[i].WriteToFile(file);
    }, &reason);
    if (!saved && pError) pError->Format("Impossibile salvare il file \"%s\": %s.", pszPath ? pszPath : "", reason.c_str());
    return saved;
}
