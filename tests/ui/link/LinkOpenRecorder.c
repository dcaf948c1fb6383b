/* Stands in for the browser while the link tests run: the tests map the http scheme to this
 * program as  "recorder.exe" "output file" "%1", and it appends the address it was given as one
 * line (UTF-8) to the output file, so that a test can see exactly what the shell opened. */
#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == NULL || argc != 3)
        return 2;

    char line[4096];
    int cb = WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, line, sizeof(line) - 1, NULL, NULL);
    if (cb <= 0)
        return 3;
    line[cb - 1] = '\n'; /* in place of the terminating zero */

    HANDLE hFile = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return 4;
    DWORD written = 0;
    WriteFile(hFile, line, (DWORD)cb, &written, NULL);
    CloseHandle(hFile);
    LocalFree(argv);
    return written == (DWORD)cb ? 0 : 5;
}
