// A snapshot of a registry tree, to show that a run wrote nothing or changed nothing.
#pragma once

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

// Every key and value below hRoot\path (HKEY_CURRENT_USER unless another root is given): keys map
// to "key", values to their type and bytes in hex. Empty when the key does not exist.
inline void SnapshotKey(HKEY hKey, const std::string& name,
                        std::map<std::string, std::string>* pEntries)
{
    (*pEntries)[name] = "key";
    for (DWORD i = 0;; ++i)
    {
        char szValue[256];
        DWORD cchValue = sizeof(szValue);
        BYTE data[1024];
        DWORD cbData = sizeof(data);
        DWORD dwType = 0;
        if (RegEnumValueA(hKey, i, szValue, &cchValue, nullptr, &dwType, data, &cbData) !=
            ERROR_SUCCESS)
            break;
        std::string text = "type " + std::to_string(dwType) + ":";
        for (DWORD b = 0; b < cbData; ++b)
        {
            char szByte[4];
            snprintf(szByte, sizeof(szByte), " %02x", data[b]);
            text += szByte;
        }
        (*pEntries)[name + "\\" + szValue] = text;
    }
    for (DWORD i = 0;; ++i)
    {
        char szSubKey[256];
        DWORD cchSubKey = sizeof(szSubKey);
        if (RegEnumKeyExA(hKey, i, szSubKey, &cchSubKey, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY hSubKey = nullptr;
        if (RegOpenKeyExA(hKey, szSubKey, 0, KEY_READ, &hSubKey) == ERROR_SUCCESS)
        {
            SnapshotKey(hSubKey, name + "\\" + szSubKey, pEntries);
            RegCloseKey(hSubKey);
        }
    }
}

inline std::map<std::string, std::string> SnapshotRegistry(const std::string& path,
                                                           HKEY hRoot = HKEY_CURRENT_USER)
{
    std::map<std::string, std::string> entries;
    HKEY hKey = nullptr;
    if (hRoot == nullptr || RegOpenKeyExA(hRoot, path.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return entries;
    SnapshotKey(hKey, "", &entries);
    RegCloseKey(hKey);
    return entries;
}

// How many values the snapshot holds (keys not counted).
inline size_t ValueCount(const std::map<std::string, std::string>& entries)
{
    size_t nValues = 0;
    for (const auto& entry : entries)
        nValues += entry.second != "key";
    return nValues;
}
