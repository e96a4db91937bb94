// The program takes no arguments: everything starts from the application object.
#include "app/SimApp.h"

static CSimApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
