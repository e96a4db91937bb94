// The program's binary resources by id.
#pragma once

#include <QIcon>

#include "platform/Afx.h"

// Icon resource nID (both sizes), or a null icon. The object lives for the whole run.
QIcon* QvLoadIconResource(UINT nID);
