// Names the configuration file can carry back unchanged: a system name ends at
// its first "]" in the header line, and a planet name line that is empty or
// begins with a blank, a control character or "[" ends the planet list.
#pragma once

#include "platform/CString.h"

// The system name without "]" and without line breaks.
CString QvStorableSystemName(const CString& name);

// The planet name without line breaks and without leading blanks, control
// characters and "["; "Pianeta N" (N = nPosition, 1-based) when nothing is left.
CString QvStorablePlanetName(const CString& name, int nPosition);

// The text without line breaks (the parameter text is one line of the file).
CString QvSingleLine(const CString& text);
