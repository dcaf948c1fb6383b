// The three language sets of the program's resources.
#pragma once

#include <windows.h>

#include <string>

struct LanguageSet
{
    LANGID language;
    const char* name;
};

inline constexpr LanguageSet kKorean{MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), "Korean"};
inline constexpr LanguageSet kJapanese{MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), "Japanese"};
inline constexpr LanguageSet kTraditionalChinese{
    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL), "Traditional Chinese"};
inline constexpr LanguageSet kLanguageSets[] = {kKorean, kJapanese, kTraditionalChinese};

// UTF-8 source text as the UTF-16 that resources store.
inline std::wstring Utf16(const char* utf8)
{
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 0)
        return L"<invalid UTF-8>";
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, text.data(), length);
    text.pop_back();
    return text;
}
