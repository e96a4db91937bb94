// PLACEHOLDER: loading and saving the whole file.
#include "store/ConfigFile.h"

const char* const kConfigFileName = "Quorvane.ini";

BOOL LoadSystemsFromFile(const char*, CSystemList&, const std::function<void(const CSystemDlg&)>&) { return FALSE; }
BOOL SaveSystemsToFile(const char*, const CSystemList&, CString*) { return FALSE; }
