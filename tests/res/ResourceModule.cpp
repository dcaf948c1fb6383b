#include "res/ResourceModule.h"

namespace
{
std::string DescribeId(LPCWSTR id)
{
    if (IS_INTRESOURCE(id))
        return std::to_string(reinterpret_cast<ULONG_PTR>(id));
    std::string text;
    for (const wchar_t* c = id; *c; ++c)
        text.push_back(*c < 0x80 ? static_cast<char>(*c) : '?');
    return "\"" + text + "\"";
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::vector<ResourceEntry>*>(param)->push_back(
        DescribeEntry(type, name, language));
    return TRUE;
}

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    EnumResourceLanguagesW(module, type, name, AddLanguage, param);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPWSTR type, LONG_PTR param)
{
    EnumResourceNamesW(module, type, AddName, param);
    return TRUE;
}
} // namespace

std::string DescribeEntry(LPCWSTR type, LPCWSTR name, LANGID language)
{
    return "type " + DescribeId(type) + ", name " + DescribeId(name) + ", language " +
           std::to_string(language);
}

ResourceModule::ResourceModule(const char* path)
{
    module_ = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_)
        openError_ = GetLastError();
}

ResourceModule::~ResourceModule()
{
    if (module_)
        FreeLibrary(module_);
}

std::vector<ResourceEntry> ResourceModule::Inventory() const
{
    std::vector<ResourceEntry> entries;
    EnumResourceTypesW(module_, AddType, reinterpret_cast<LONG_PTR>(&entries));
    return entries;
}

bool ResourceModule::Load(LPCWSTR type, WORD id, LANGID language,
                          std::vector<unsigned char>* out) const
{
    HRSRC found = FindResourceExW(module_, type, MAKEINTRESOURCEW(id), language);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module_, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    const auto* first = static_cast<const unsigned char*>(bytes);
    out->assign(first, first + SizeofResource(module_, found));
    return true;
}

const ResourceModule& ProgramResources()
{
    static const ResourceModule program(STARTUP_EXE_PATH);
    return program;
}
