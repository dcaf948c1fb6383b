// COM for the shell's operations on the calling thread. The shell documents that ShellExecute may
// hand an address to a handler activated through COM (modern default browsers are), which can
// fail unless the thread has entered an apartment. Entered lazily: ole32 is loaded and COM
// initialised when a thread first needs it, so a run that opens nothing never loads it, and the
// program's start-up and import list stay as they are.
#pragma once

#include <windows.h>

// Puts the calling thread into a single-threaded apartment (COINIT_APARTMENTTHREADED with
// COINIT_DISABLE_OLE1DDE), once per thread; COM stays initialised until the thread ends. TRUE when
// the thread is in an apartment now, FALSE when ole32 could not be loaded or COM refused (a thread
// already in the multithreaded apartment stays there).
BOOL AfxEnterComApartment();
