// Whether the game is running: the game holds a named mutex for as long as it runs.
#pragma once

#include <windows.h>

// TRUE when a mutex of that name exists. The mutex is only looked at, never held or waited on.
BOOL IsGameRunning(LPCSTR lpszMutexName);

// What an attempt to open the game's mutex tells: opened, or refused for lack of access (a game
// that runs elevated may grant us nothing more), means the game runs; any other failure (no such
// name, a name of another kind of object) means it does not.
BOOL MutexOpenShowsGame(BOOL bOpened, DWORD dwError);
