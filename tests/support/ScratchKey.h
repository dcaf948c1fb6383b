// A registry key of the test's own below HKEY_CURRENT_USER, deleted before and after use, so that
// every test starts from nothing and leaves nothing behind.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

class ScratchKey
{
public:
    explicit ScratchKey(const std::string& path) : m_path(path)
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
    }
    ~ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str()); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::string& Path() const { return m_path; }

    // A fresh handle to the key (created where missing); the caller, or a record that owns it,
    // closes it.
    HKEY Open() const
    {
        HKEY hKey = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        return hKey;
    }

    bool Exists(const std::string& subKey = "") const
    {
        HKEY hKey = nullptr;
        const std::string full = subKey.empty() ? m_path : m_path + "\\" + subKey;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return false;
        RegCloseKey(hKey);
        return true;
    }

    // Raw access to one value: its type and bytes, or false when it does not exist.
    bool Read(const std::string& subKey, const std::string& value, DWORD* type,
              std::string* data) const
    {
        const std::string full = m_path + "\\" + subKey;
        DWORD cb = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, full.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                         type, nullptr, &cb) != ERROR_SUCCESS)
            return false;
        data->assign(cb, '\0');
        return RegGetValueA(HKEY_CURRENT_USER, full.c_str(), value.c_str(),
                            RRF_RT_ANY | RRF_NOEXPAND, type, cb ? &(*data)[0] : nullptr,
                            &cb) == ERROR_SUCCESS;
    }

    bool HasValue(const std::string& subKey, const std::string& value) const
    {
        DWORD type;
        std::string data;
        return Read(subKey, value, &type, &data);
    }

    void Write(const std::string& subKey, const std::string& value, DWORD type,
               const std::string& data) const
    {
        HKEY hKey = nullptr;
        const std::string full = m_path + "\\" + subKey;
        RegCreateKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        RegSetValueExA(hKey, value.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
        RegCloseKey(hKey);
    }

    void WriteDword(const std::string& subKey, const std::string& value, DWORD dw) const
    {
        Write(subKey, value, REG_DWORD, std::string(reinterpret_cast<const char*>(&dw), 4));
    }
    // A REG_SZ with its terminating zero, as the program writes it.
    void WriteSz(const std::string& subKey, const std::string& value, const std::string& text) const
    {
        Write(subKey, value, REG_SZ, text + '\0');
    }

    // A REG_SZ written in UTF-16 with its terminating zero, as another program (or this one under
    // another system code page) may have stored it: characters that the system's code page lacks
    // are stored as they are.
    void WriteWideSz(const std::string& subKey, const std::string& value,
                     const std::wstring& text) const
    {
        HKEY hKey = nullptr;
        const std::string full = m_path + "\\" + subKey;
        RegCreateKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &hKey, nullptr);
        const std::wstring name(value.begin(), value.end());
        RegSetValueExW(hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(hKey);
    }
    // A REG_SZ as the registry keeps it, in UTF-16 up to its terminating zero; "<missing>" when
    // it cannot be read as a string.
    std::wstring ReadWideSz(const std::string& subKey, const std::string& value) const
    {
        const std::wstring full(m_path.begin(), m_path.end());
        const std::wstring wideSubKey(subKey.begin(), subKey.end());
        const std::wstring name(value.begin(), value.end());
        const std::wstring path = full + L"\\" + wideSubKey;
        DWORD cb = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         nullptr, &cb) != ERROR_SUCCESS)
            return L"<missing>";
        std::wstring text(cb / sizeof(wchar_t) + 1, L'\0');
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         &text[0], &cb) != ERROR_SUCCESS)
            return L"<missing>";
        return text.substr(0, text.find(L'\0'));
    }

    // The value as a DWORD, or the given fallback when it is missing or not a 4-byte REG_DWORD.
    DWORD ReadDword(const std::string& subKey, const std::string& value, DWORD fallback) const
    {
        DWORD type;
        std::string data;
        if (!Read(subKey, value, &type, &data) || type != REG_DWORD || data.size() != 4)
            return fallback;
        DWORD dw;
        memcpy(&dw, data.data(), 4);
        return dw;
    }
    // A REG_SZ up to its terminating zero; "<missing>" or "<type N>" otherwise.
    std::string ReadSz(const std::string& subKey, const std::string& value) const
    {
        DWORD type;
        std::string data;
        if (!Read(subKey, value, &type, &data))
            return "<missing>";
        if (type != REG_SZ)
            return "<type " + std::to_string(type) + ">";
        return data.substr(0, data.find('\0'));
    }

private:
    std::string m_path;
};
