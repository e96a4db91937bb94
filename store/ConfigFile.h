// The configuration file as a whole: every system, in list order.
#pragma once

#include <functional>

#include "platform/CArray.h"
#include "store/SystemDlg.h"

// The file the program reads and writes, in its working directory.
extern const char* const kConfigFileName;  // "Quorvane.ini"

using CSystemList = CStableArray<CSystemDlg>;

// Reads every system of the file into `systems` (appended in file order; a
// UTF-8 byte-order mark at the very start is skipped),
// calling onAdded for each one right after it is appended. FALSE when the file
// cannot be opened for reading.
BOOL LoadSystemsFromFile(const char* pszPath, CSystemList& systems,
                         const std::function<void(const CSystemDlg&)>& onAdded = nullptr);

// Replaces the file's content with every system of the list, never leaving a
// half-written file: the new content goes to a file beside it and replaces the
// old one only once complete and on disk. FALSE on failure, with an Italian
// explanation in *pError; the old file is then as it was. A file that cannot
// be replaced so (its folder takes no new file, it is another user's, or it has
// other names through hard links) is rewritten in place instead, and a failure
// there can leave it cut short. Anything but a plain file (a folder, a device,
// a FIFO), even behind a symbolic link, is refused and left untouched.
BOOL SaveSystemsToFile(const char* pszPath, const CSystemList& systems, CString* pError = nullptr);
