// Replacing a file in the page: the new content, written in memory, goes to
// the browser's storage in one IndexedDB transaction (js/storage.js); the
// working folder's copy in memory takes it only once that has committed.
#include "platform/ReplaceFile.h"

#include <cstdlib>
#include <emscripten.h>
#include <unistd.h>

// "" once the content is kept, else why not (malloc'd UTF-8).
EM_ASYNC_JS(char*, qv_storage_replace, (const char* path, const char* scratch), {
    const reason = await Module.qvStorage.replace(UTF8ToString(path), FS.readFile(UTF8ToString(scratch)));
    const n = lengthBytesUTF8(reason) + 1;
    const p = _malloc(n);
    stringToUTF8(reason, p, n);
    return p;
});

BOOL QvReplaceFile(const char* pszPath, const QvContentWriter& write, CString* pReason)
{
    // Outside the stored folder: nothing of the scratch file reaches the storage.
    const char* const scratch = "/tmp/Quorvane-nuovo.ini";
    CString reason;
    {
        CStdioFile file(scratch, CStdioFile::modeCreate | CStdioFile::modeWrite);
        if (file.IsOpen()) write(file);
        file.Close();
        if (file.GetError()) reason = QvFileErrorText(file.GetError());
    }
    if (reason.IsEmpty()) {
        char* refusal = qv_storage_replace(pszPath ? pszPath : "", scratch);
        reason = refusal;
        std::free(refusal);
    }
    ::unlink(scratch);
    if (pReason) *pReason = reason;
    return reason.IsEmpty();
}
