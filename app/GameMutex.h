// Whether the game is running: the game holds a named mutex for as long as it runs.
#pragma once

#include <windows.h>

// TRUE when a mutex of that name exists. The mutex is only looked at, never held or waited on.
BOOL IsGameRunning(LPCSTR lpszMutexName);
