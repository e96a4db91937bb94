#pragma once

#include "platform/WinApp.h"

class CSimApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
