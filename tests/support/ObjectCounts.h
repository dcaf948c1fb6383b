// How many GDI objects, USER objects and kernel handles the process holds, on Windows and under
// Wine. Wine 8 answers 0 to GetGuiResources and to GetProcessHandleCount whatever is open, so a
// zero answer is taken for "not counted" and the count comes from what Wine does keep: the live
// entries of the process's GDI handle table, the windows of the thread (children included), and
// the process's entries in the system's handle list.
#pragma once

#include <windows.h>

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
            counts.gdi = CountLiveGdiIndexes();
        counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        if (counts.user == 0)
            counts.user = CountThreadWindows();
        counts.handles = CountKernelHandles();
        return counts;
    }

private:
    // Wine's GDI handles are an index into the process's handle table in the low word and the
    // entry's generation in the high word, and a handle whose high word is zero names the entry
    // whatever its generation. So asking the type of every index counts the live objects. This
    // holds for the i686 and the x86_64 build alike (a 32-bit process's environment block
    // carries no pointer to the table).
    static DWORD CountLiveGdiIndexes()
    {
        DWORD count = 0;
        for (ULONG_PTR index = 1; index < 65536; ++index)
        {
            if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
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
