/* Keeps one Wine process (and with it the desktop and the services the first GUI program starts)
   alive for a whole test run, so that each test does not pay for starting them. It ends when the
   wineserver is killed after the run. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hInstance;
    (void)hPrevInstance;
    (void)lpCmdLine;
    (void)nCmdShow;
    GetDesktopWindow();
    for (;;)
        Sleep(60 * 1000);
}
