// A file's whole content replaced so that the file is always one whole
// version. Only the platform knows when new content is kept: on a disk once
// it is synced and renamed into place (platform/posix/), in a browser once its
// storage has committed it (platform/web/).
#pragma once

#include <functional>

#include "platform/CStdioFile.h"

// Writes the new content into the stream it is given; a write error stays in the stream.
using QvContentWriter = std::function<void(CStdioFile&)>;

// Gives the file at `pszPath` the content that `write` produces. TRUE only
// once the new content is kept. Otherwise FALSE, a short Italian reason in
// *pReason ("spazio su disco esaurito"), the old file as it was and nothing
// left beside it.
// On a disk the new content goes to a hidden temporary beside the file, which
// replaces it once complete and synced; leftovers of killed saves, ten minutes
// old, are removed. The target of a symbolic link is replaced, the link stays.
// A file that cannot be replaced so (its folder takes no new file, it is
// another user's, or it has other names through hard links) is rewritten in
// place, and a failure there can leave it cut short. Anything but a plain
// file (a folder, a device, a FIFO) is refused and left untouched.
BOOL QvReplaceFile(const char* pszPath, const QvContentWriter& write, CString* pReason);
