// The built program opened as a data file, so that its resources can be listed and read exactly as
// stored, language by language, without running any of its code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Resource types by number, in the wide form that the W functions take (the RT_ names of the
// Windows headers follow the ANSI build here).
inline const LPCWSTR kCursorType = MAKEINTRESOURCEW(1);
inline const LPCWSTR kBitmapType = MAKEINTRESOURCEW(2);
inline const LPCWSTR kIconType = MAKEINTRESOURCEW(3);
inline const LPCWSTR kMenuType = MAKEINTRESOURCEW(4);
inline const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);
inline const LPCWSTR kStringType = MAKEINTRESOURCEW(6);
inline const LPCWSTR kCursorGroupType = MAKEINTRESOURCEW(12);
inline const LPCWSTR kIconGroupType = MAKEINTRESOURCEW(14);
inline const LPCWSTR kVersionType = MAKEINTRESOURCEW(16);

// One resource as the directory lists it: "type 5, name 131, language 1042" (a named type or name
// shows as its text in quotes).
using ResourceEntry = std::string;

class ResourceModule
{
public:
    explicit ResourceModule(const char* path);
    ~ResourceModule();
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    bool IsOpen() const { return module_ != nullptr; }
    DWORD OpenError() const { return openError_; }
    HMODULE Handle() const { return module_; }

    // Every type, name and language in the resource directory.
    std::vector<ResourceEntry> Inventory() const;
    // The bytes of one resource in one language; false when it is not there.
    bool Load(LPCWSTR type, WORD id, LANGID language, std::vector<unsigned char>* out) const;

private:
    HMODULE module_ = nullptr;
    DWORD openError_ = 0;
};

std::string DescribeEntry(LPCWSTR type, LPCWSTR name, LANGID language);

// The program under test (STARTUP_EXE_PATH), opened once for the whole test program.
const ResourceModule& ProgramResources();
