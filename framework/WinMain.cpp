// The program's entry point hands over to the framework, which runs the application object.
#include "framework/CWinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    return AfxWinMain(hInstance, nCmdShow);
}
