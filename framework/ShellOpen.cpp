#include "framework/ShellOpen.h"

#include "framework/ComApartment.h"
#include "framework/SystemLibrary.h"

namespace
{
using ShellExecuteAProc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
} // namespace

HINSTANCE AfxShellOpen(LPCSTR lpszFile)
{
    // Handlers that the shell activates through COM need the thread in an apartment.
    AfxEnterComApartment();
    const auto pfnShellExecuteA = reinterpret_cast<ShellExecuteAProc>(
        reinterpret_cast<void*>(AfxGetSystemProc(L"shell32.dll", "ShellExecuteA")));
    if (pfnShellExecuteA == nullptr)
        return nullptr;
    return pfnShellExecuteA(nullptr, "open", lpszFile, nullptr, nullptr, SW_SHOWNORMAL);
}
