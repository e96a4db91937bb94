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
// half-written file (the platform's replacement, platform/ReplaceFile.h). FALSE
// on failure, with an Italian explanation naming the file in *pError; the old
// file is then as it was, except where the platform must rewrite it in place.
BOOL SaveSystemsToFile(const char* pszPath, const CSystemList& systems, CString* pError = nullptr);
