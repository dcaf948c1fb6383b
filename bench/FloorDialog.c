/* The floor for start-up timing: the least a Win32 program can do to put the program's Korean
   main dialog on screen. It shows template 131 with banner bitmap 132 in its picture control and
   nothing else: no framework, no registry, no language choice. The program's start-up is
   measured against this. */
#include <windows.h>

#include "res/resource.h"

static INT_PTR CALLBACK FloorDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message)
    {
        case WM_INITDIALOG:
        {
            HBITMAP hBanner = LoadBitmapA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDB_BANNER));
            SendDlgItemMessageA(hDlg, IDC_BANNER, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBanner);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            {
                EndDialog(hDlg, LOWORD(wParam));
                return TRUE;
            }
            break;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hPrevInstance;
    (void)lpCmdLine;
    (void)nCmdShow;
    /* The static control does not own a bitmap set with STM_SETIMAGE: it goes with the process. */
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_STARTUP_SETTINGS), NULL, FloorDialogProc, 0);
    return 0;
}
