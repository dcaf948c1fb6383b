// How many GDI objects, USER objects and kernel handles the process holds, on Windows and under
// Wine. Wine 8 answers GetGuiResources with 0 and has no GetProcessHandleCount, so there the
// counts come from what Wine does keep: the process's entries in the shared GDI handle table
// (the PEB's GdiSharedHandleTable), the windows of the thread, and the system's handle list.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <vector>

class ObjectCounts
{
public:
    DWORD gdi = 0;
    DWORD user = 0;
    DWORD handles = 0;

    static ObjectCounts Now()
    {
        ObjectCounts counts;
        counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        if (counts.gdi == 0)
            counts.gdi = CountSharedGdiEntries();
        counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        if (counts.user == 0)
            counts.user = CountThreadWindows();
        counts.handles = CountKernelHandles();
        return counts;
    }

private:
    // The layout of one entry of the shared GDI handle table.
    struct GdiHandleEntry
    {
        UINT64 object;
        USHORT processId;
        USHORT lock;
        UCHAR extType;
        UCHAR generation;
        UCHAR type; // 0: free
        UCHAR flags;
        UINT64 userPointer;
    };

    static DWORD CountSharedGdiEntries()
    {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds" // MinGW's segment-register read trips it
        const auto* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
#ifdef _WIN64
        const size_t tableOffset = 0xF8;
#else
        const size_t tableOffset = 0x94;
#endif
        const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + tableOffset);
        if (table == nullptr)
            return 0;
        // Wine keeps this table per process and leaves the owner field empty.
        DWORD count = 0;
        int unusedRun = 0;
        // Entries are handed out from the start; a long run of never-used ones ends the table.
        for (int i = 0; i < 65536 && unusedRun < 4096; ++i)
        {
            const GdiHandleEntry& entry = table[i];
            if (entry.type == 0 && entry.generation == 0)
                ++unusedRun;
            else
                unusedRun = 0;
            if (entry.type != 0)
                ++count;
        }
        return count;
    }

    static BOOL CALLBACK CountWindow(HWND hWnd, LPARAM lParam)
    {
        ++*reinterpret_cast<DWORD*>(lParam);
        EnumChildWindows(hWnd, &CountChild, lParam);
        return TRUE;
    }
    static BOOL CALLBACK CountChild(HWND, LPARAM lParam)
    {
        ++*reinterpret_cast<DWORD*>(lParam);
        return TRUE;
    }
    static DWORD CountThreadWindows()
    {
        DWORD count = 0;
        EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
        return count;
    }

    struct HandleEntry
    {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };

    static DWORD CountKernelHandles()
    {
        DWORD count = 0;
        if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0)
            return count;
        using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
        auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
        if (query == nullptr)
            return 0;
        std::vector<BYTE> buffer(1 << 20);
        ULONG needed = 0;
        const ULONG kSystemHandleInformation = 16;
        while (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                     &needed) == static_cast<LONG>(0xC0000004)) // STATUS_INFO_LENGTH_MISMATCH
            buffer.resize(buffer.size() * 2);
        const ULONG total = *reinterpret_cast<const ULONG*>(buffer.data());
        const auto* entries =
            reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
        const ULONG self = GetCurrentProcessId();
        for (ULONG i = 0; i < total; ++i)
        {
            if (entries[i].ownerPid == self)
                ++count;
        }
        return count;
    }
};
