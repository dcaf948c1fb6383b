#include "app/GameMutex.h"

BOOL IsGameRunning(LPCSTR lpszMutexName)
{
    // SYNCHRONIZE is the least access that proves the mutex exists. A game that runs elevated may
    // grant us less than that: "access denied" still means the mutex is there.
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, lpszMutexName);
    if (hMutex == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(hMutex);
    return TRUE;
}
