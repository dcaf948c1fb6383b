/* For screenshots: "activate" paints the caption of every visible dialog of the session as active
   (Wine leaves it grey when no window manager activates it); "version" sends the main dialog the
   system command of its version item. */
#include <string.h>
#include <windows.h>

static BOOL CALLBACK Activate(HWND hWnd, LPARAM lParam)
{
    char className[16] = {0};
    (void)lParam;
    GetClassNameA(hWnd, className, sizeof(className));
    if (IsWindowVisible(hWnd) && strcmp(className, "#32770") == 0)
        SendMessageA(hWnd, WM_NCACTIVATE, TRUE, 0);
    return TRUE;
}

static BOOL CALLBACK OpenVersion(HWND hWnd, LPARAM lParam)
{
    char className[16] = {0};
    (void)lParam;
    GetClassNameA(hWnd, className, sizeof(className));
    if (IsWindowVisible(hWnd) && strcmp(className, "#32770") == 0 && GetDlgItem(hWnd, 1001) != NULL)
    {
        PostMessageA(hWnd, WM_SYSCOMMAND, 16, 0);
        return FALSE;
    }
    return TRUE;
}

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "activate") == 0)
        return EnumWindows(Activate, 0) ? 0 : 1;
    if (argc == 2 && strcmp(argv[1], "version") == 0)
    {
        EnumWindows(OpenVersion, 0);
        return 0;
    }
    return 2;
}
