#include "app/GameMutex.h"

BOOL MutexOpenShowsGame(BOOL bOpened, DWORD dwError)
{
    return bOpened || dwError == ERROR_ACCESS_DENIED;
}

BOOL IsGameRunning(LPCSTR lpszMutexName)
{
    // SYNCHRONIZE is the least access that proves the mutex exists.
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, lpszMutexName);
    const DWORD dwError = hMutex == nullptr ? GetLastError() : ERROR_SUCCESS;
    if (hMutex != nullptr)
        CloseHandle(hMutex);
    return MutexOpenShowsGame(hMutex != nullptr, dwError);
}
