// A registry key that refuses writing for real while the object lives: its DACL grants everybody
// read access only (Wine enforces key DACLs, in this process and in others). The owner may still
// change the DACL, which is how the key's own descriptor is given back at the end.
#pragma once

#include <sddl.h>
#include <windows.h>

#include <string>
#include <vector>

class ReadOnlyKey
{
public:
    // HKEY_CURRENT_USER\path, created where missing.
    explicit ReadOnlyKey(const std::string& path) : m_path(path)
    {
        HKEY hKey = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            READ_CONTROL | WRITE_DAC, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
            return;
        DWORD cb = 0;
        RegGetKeySecurity(hKey, DACL_SECURITY_INFORMATION, nullptr, &cb);
        m_original.resize(cb);
        if (cb != 0 && RegGetKeySecurity(hKey, DACL_SECURITY_INFORMATION, m_original.data(), &cb) !=
                           ERROR_SUCCESS)
            m_original.clear();
        PSECURITY_DESCRIPTOR pReadOnly = nullptr;
        if (!m_original.empty() && ConvertStringSecurityDescriptorToSecurityDescriptorA(
                                       "D:P(A;;KR;;;WD)", SDDL_REVISION_1, &pReadOnly, nullptr))
        {
            m_bApplied =
                RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pReadOnly) == ERROR_SUCCESS;
            LocalFree(pReadOnly);
        }
        RegCloseKey(hKey);
    }
    ~ReadOnlyKey() { Restore(); }
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

    // Whether the key now refuses writing: an open for writing fails with "access denied".
    bool Refuses() const
    {
        HKEY hKey = nullptr;
        const LONG lResult = RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_WRITE, &hKey);
        if (hKey != nullptr)
            RegCloseKey(hKey);
        return m_bApplied && lResult == ERROR_ACCESS_DENIED;
    }

    // Gives the key its own DACL back.
    void Restore()
    {
        if (!m_bApplied)
            return;
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, WRITE_DAC, &hKey) == ERROR_SUCCESS)
        {
            RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, m_original.data());
            RegCloseKey(hKey);
        }
        m_bApplied = false;
    }

private:
    std::string m_path;
    std::vector<BYTE> m_original;
    bool m_bApplied = false;
};
