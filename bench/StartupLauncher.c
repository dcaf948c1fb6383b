/* Times the start-up of dialog programs from outside, the way a user sees it: from process
   creation until the program's dialog is visible and painted. Runs the given programs in turn,
   round after round (the order swapped every round, so that neither always goes first), and for
   each run prints one line:

     run <round> <program> startup-ms <ms> peak-ws-kb <kb> exit <code>

   Usage: StartupLauncher.exe [-n ROUNDS] [-w WARM-UP ROUNDS] PROGRAM.exe [PROGRAM.exe...]
   Warm-up rounds print "warmup" instead of "run"; the bench script ignores them.

   "Painted" is seen from outside without hooks: once a visible top-level window of the process
   exists, the window and each of its visible children must have an empty update region
   (GetUpdateRect(hwnd, NULL, FALSE) answers FALSE). Showing a window invalidates it in the same
   step that makes it visible, and only the owning thread's BeginPaint empties the region again,
   so an empty region on a visible window means its first WM_PAINT has been handled. With
   bErase FALSE the query sends the window nothing (no WM_NCPAINT, no WM_ERASEBKGND): it does not
   paint on the program's behalf. The launcher polls every millisecond. */
#include <windows.h>
#include <psapi.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum
{
    kPollMilliseconds = 1,
    kShowTimeoutMilliseconds = 20000,
    kCloseTimeoutMilliseconds = 10000,
    kMaxPrograms = 8
};

typedef struct RunResult
{
    double startupMs; /* negative: no painted window within the time-out */
    unsigned long long peakWorkingSetKb;
    DWORD exitCode;
} RunResult;

typedef struct WindowSearch
{
    DWORD processId;
    HWND hwnd;
} WindowSearch;

static BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM lParam)
{
    WindowSearch* search = (WindowSearch*)lParam;
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (processId != search->processId || !IsWindowVisible(hwnd))
        return TRUE;
    search->hwnd = hwnd;
    return FALSE;
}

static BOOL CALLBACK FindUnpaintedChild(HWND hwnd, LPARAM lParam)
{
    if (IsWindowVisible(hwnd) && GetUpdateRect(hwnd, NULL, FALSE))
    {
        *(BOOL*)lParam = TRUE;
        return FALSE;
    }
    return TRUE;
}

/* The process's visible top-level window once it and its visible children are painted. */
static HWND FindPaintedWindow(DWORD processId)
{
    WindowSearch search = {processId, NULL};
    EnumWindows(FindVisibleWindow, (LPARAM)&search);
    if (search.hwnd == NULL || GetUpdateRect(search.hwnd, NULL, FALSE))
        return NULL;
    BOOL bUnpainted = FALSE;
    EnumChildWindows(search.hwnd, FindUnpaintedChild, (LPARAM)&bUnpainted);
    return bUnpainted ? NULL : search.hwnd;
}

static double ElapsedMs(LARGE_INTEGER start, LARGE_INTEGER frequency)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

/* Closes the dialog as its close box would, and waits for the process to end. */
static DWORD CloseAndWait(HANDLE hProcess, HWND hwnd)
{
    if (hwnd != NULL)
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (hwnd == NULL || WaitForSingleObject(hProcess, kCloseTimeoutMilliseconds) != WAIT_OBJECT_0)
    {
        TerminateProcess(hProcess, 0xDEAD);
        WaitForSingleObject(hProcess, INFINITE);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(hProcess, &exitCode);
    return exitCode;
}

static BOOL RunOnce(const char* pszProgram, RunResult* result)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);

    char szCommandLine[MAX_PATH + 3];
    snprintf(szCommandLine, sizeof(szCommandLine), "\"%s\"", pszProgram);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(pszProgram, szCommandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
    {
        fprintf(stderr, "cannot start %s: error %lu\n", pszProgram, GetLastError());
        return FALSE;
    }

    HWND hwnd = NULL;
    result->startupMs = -1.0;
    for (;;)
    {
        hwnd = FindPaintedWindow(process.dwProcessId);
        const double elapsed = ElapsedMs(start, frequency);
        if (hwnd != NULL)
        {
            result->startupMs = elapsed;
            break;
        }
        if (elapsed > kShowTimeoutMilliseconds ||
            WaitForSingleObject(process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0)
            break;
    }

    PROCESS_MEMORY_COUNTERS counters;
    memset(&counters, 0, sizeof(counters));
    counters.cb = sizeof(counters);
    result->peakWorkingSetKb = 0;
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters)))
        result->peakWorkingSetKb = counters.PeakWorkingSetSize / 1024;

    result->exitCode = CloseAndWait(process.hProcess, hwnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return TRUE;
}

static const char* BaseName(const char* pszPath)
{
    const char* pszName = pszPath;
    for (const char* pch = pszPath; *pch != '\0'; ++pch)
        if (*pch == '\\' || *pch == '/')
            pszName = pch + 1;
    return pszName;
}

int main(int argc, char** argv)
{
    int nRounds = 20;
    int nWarmUp = 1;
    const char* programs[kMaxPrograms];
    int nPrograms = 0;
    for (int i = 1; i < argc; ++i)
    {
        if (strcmp(argv[i], "-n") == 0 && i + 1 < argc)
            nRounds = atoi(argv[++i]);
        else if (strcmp(argv[i], "-w") == 0 && i + 1 < argc)
            nWarmUp = atoi(argv[++i]);
        else if (nPrograms < kMaxPrograms)
            programs[nPrograms++] = argv[i];
    }
    if (nPrograms == 0 || nRounds < 1 || nWarmUp < 0)
    {
        fprintf(stderr, "usage: StartupLauncher.exe [-n ROUNDS] [-w WARM-UP] PROGRAM...\n");
        return 2;
    }

    int status = 0;
    for (int round = -nWarmUp; round < nRounds; ++round)
    {
        for (int k = 0; k < nPrograms; ++k)
        {
            /* Odd rounds run the programs in reverse order. */
            const int index = (round & 1) != 0 ? nPrograms - 1 - k : k;
            RunResult result;
            if (!RunOnce(programs[index], &result))
                return 1;
            if (result.startupMs < 0)
                status = 1;
            printf("%s %d %s startup-ms %.3f peak-ws-kb %llu exit %lu\n",
                   round < 0 ? "warmup" : "run", round < 0 ? round + nWarmUp : round,
                   BaseName(programs[index]), result.startupMs, result.peakWorkingSetKb,
                   result.exitCode);
            fflush(stdout);
        }
    }
    return status;
}
