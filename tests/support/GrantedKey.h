// A registry key whose DACL grants everybody exactly the rights that an SDDL string names, for real
// while the object lives (Wine enforces key DACLs, in this process and in others):
// "D:P(A;;KRKW;;;WD)" lets the user read and write values but neither change permissions nor delete
// the key. The owner may still change the DACL, which is how the key's own descriptor is given back
// at the end.
#pragma once

#include <sddl.h>
#include <windows.h>

#include <string>
#include <vector>

class GrantedKey
{
public:
    // HKEY_CURRENT_USER\path, created where missing.
    GrantedKey(const std::string& path, const char* sddl) : m_path(path)
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
        PSECURITY_DESCRIPTOR pGranted = nullptr;
        if (!m_original.empty() && ConvertStringSecurityDescriptorToSecurityDescriptorA(
                                       sddl, SDDL_REVISION_1, &pGranted, nullptr))
        {
            m_bApplied =
                RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pGranted) == ERROR_SUCCESS;
            LocalFree(pGranted);
        }
        RegCloseKey(hKey);
    }
    ~GrantedKey() { Restore(); }
    GrantedKey(const GrantedKey&) = delete;
    GrantedKey& operator=(const GrantedKey&) = delete;

    // Whether an open with samDesired is refused ("access denied") now, and the DACL was applied.
    bool Refuses(REGSAM samDesired) const
    {
        return m_bApplied && OpenWith(samDesired) == ERROR_ACCESS_DENIED;
    }
    // Whether an open with samDesired is granted now, and the DACL was applied.
    bool Grants(REGSAM samDesired) const
    {
        return m_bApplied && OpenWith(samDesired) == ERROR_SUCCESS;
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
    // The result of opening the key with samDesired (the key is closed again at once).
    LONG OpenWith(REGSAM samDesired) const
    {
        HKEY hKey = nullptr;
        const LONG lResult = RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, samDesired, &hKey);
        if (hKey != nullptr)
            RegCloseKey(hKey);
        return lResult;
    }

    std::string m_path;
    std::vector<BYTE> m_original;
    bool m_bApplied = false;
};

// Read and write values, nothing more: no WRITE_DAC, WRITE_OWNER or DELETE.
inline constexpr char kReadWriteOnly[] = "D:P(A;;KRKW;;;WD)";
