// The application manifest embedded in the built program (type 24, id 1, language neutral), read
// from its resources and parsed as XML with the system's own reader: what it declares, each in the
// namespace the loader reads it in.
#include "res/ProgramResourcesTest.h"

#include <objbase.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace
{
const LPCWSTR kManifestType = MAKEINTRESOURCEW(24);
const WORD kManifestId = 1; // the one the loader reads for a program
const LANGID kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

const std::wstring kAsmV1 = L"urn:schemas-microsoft-com:asm.v1";
const std::wstring kAsmV3 = L"urn:schemas-microsoft-com:asm.v3";
const std::wstring kCompatibility = L"urn:schemas-microsoft-com:compatibility.v1";
const std::wstring kWindowsSettings2017 = L"http://schemas.microsoft.com/SMI/2017/WindowsSettings";
const std::wstring kXmlns = L"http://www.w3.org/2000/xmlns/";

// One element: its path of local names from the root, its namespace, attributes and text.
struct Element
{
    std::wstring path;
    std::wstring ns;
    std::map<std::wstring, std::wstring> attributes;
    std::wstring text;
};

struct Parsed
{
    std::vector<Element> elements;
    std::string error; // empty when the document read to its end
};

template <typename T> void Release(T*& p)
{
    if (p != nullptr)
        p->Release();
    p = nullptr;
}

Parsed Parse(const std::vector<unsigned char>& data)
{
    Parsed parsed;
    using CreateXmlReaderProc = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);
    HMODULE hXmlLite = LoadLibraryA("xmllite.dll");
    auto pfnCreate = hXmlLite == nullptr
                         ? nullptr
                         : reinterpret_cast<CreateXmlReaderProc>(reinterpret_cast<void*>(
                               GetProcAddress(hXmlLite, "CreateXmlReader")));
    if (pfnCreate == nullptr)
    {
        parsed.error = "xmllite.dll has no CreateXmlReader";
        return parsed;
    }
    IStream* pStream = SHCreateMemStream(data.data(), static_cast<UINT>(data.size()));
    IXmlReader* pReader = nullptr;
    if (pStream == nullptr ||
        FAILED(pfnCreate(__uuidof(IXmlReader), reinterpret_cast<void**>(&pReader), nullptr)) ||
        FAILED(pReader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(pReader->SetInput(pStream)))
    {
        parsed.error = "cannot start the XML reader";
        Release(pReader);
        Release(pStream);
        return parsed;
    }

    std::vector<std::wstring> path;
    std::vector<size_t> open; // indices of the elements not yet closed
    XmlNodeType type = XmlNodeType_None;
    HRESULT hr = S_OK;
    while ((hr = pReader->Read(&type)) == S_OK)
    {
        LPCWSTR pwsz = nullptr;
        if (type == XmlNodeType_Element)
        {
            const bool bEmpty = pReader->IsEmptyElement() != FALSE;
            Element element;
            pReader->GetLocalName(&pwsz, nullptr);
            path.push_back(pwsz);
            for (const std::wstring& name : path)
                element.path += (element.path.empty() ? L"" : L"/") + name;
            pReader->GetNamespaceUri(&pwsz, nullptr);
            element.ns = pwsz;
            for (HRESULT hrAttribute = pReader->MoveToFirstAttribute(); hrAttribute == S_OK;
                 hrAttribute = pReader->MoveToNextAttribute())
            {
                LPCWSTR pwszNs = nullptr, pwszName = nullptr, pwszValue = nullptr;
                pReader->GetNamespaceUri(&pwszNs, nullptr);
                pReader->GetLocalName(&pwszName, nullptr);
                pReader->GetValue(&pwszValue, nullptr);
                if (kXmlns != pwszNs && std::wstring(pwszName) != L"xmlns")
                    element.attributes[pwszName] = pwszValue;
            }
            parsed.elements.push_back(element);
            if (bEmpty)
                path.pop_back();
            else
                open.push_back(parsed.elements.size() - 1);
        }
        else if (type == XmlNodeType_EndElement)
        {
            path.pop_back();
            open.pop_back();
        }
        else if (type == XmlNodeType_Text && !open.empty())
        {
            pReader->GetValue(&pwsz, nullptr);
            parsed.elements[open.back()].text += pwsz;
        }
    }
    if (hr != S_FALSE)
        parsed.error = "malformed XML (HRESULT " + std::to_string(static_cast<long>(hr)) + ")";
    Release(pReader);
    Release(pStream);
    return parsed;
}

std::vector<const Element*> Find(const Parsed& parsed, const std::wstring& path)
{
    std::vector<const Element*> found;
    for (const Element& element : parsed.elements)
    {
        if (element.path == path)
            found.push_back(&element);
    }
    return found;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end()); // the manifest's names are ASCII
}
} // namespace

class ManifestTest : public ProgramResourcesTest
{
protected:
    void SetUp() override
    {
        ProgramResourcesTest::SetUp();
        const std::vector<unsigned char> data = Load(kManifestType, kManifestId, kNeutral);
        ASSERT_FALSE(data.empty());
        parsed = Parse(data);
        ASSERT_EQ(parsed.error, "");
    }

    Parsed parsed;
};

TEST_F(ManifestTest, IsAnAssemblyOfManifestVersionOne)
{
    ASSERT_FALSE(parsed.elements.empty());
    const Element& root = parsed.elements.front();
    EXPECT_EQ(Narrow(root.path), "assembly");
    EXPECT_EQ(Narrow(root.ns), Narrow(kAsmV1));
    EXPECT_EQ(Narrow(root.attributes.count(L"manifestVersion")
                         ? root.attributes.at(L"manifestVersion")
                         : L""),
              "1.0");
}

// Run with the rights of whoever starts it, never elevated, whatever the program file is named.
TEST_F(ManifestTest, RequestsToRunAsInvokerWithoutUIAccess)
{
    const auto levels =
        Find(parsed, L"assembly/trustInfo/security/requestedPrivileges/requestedExecutionLevel");
    ASSERT_EQ(levels.size(), 1u);
    const Element& level = *levels[0];
    EXPECT_EQ(Narrow(level.ns), Narrow(kAsmV3));
    EXPECT_EQ(level.attributes, (std::map<std::wstring, std::wstring>{{L"level", L"asInvoker"},
                                                                      {L"uiAccess", L"false"}}));
}

TEST_F(ManifestTest, DeclaresEveryWindowsFromVistaToTenAndElevenAsSupported)
{
    const std::set<std::wstring> expected = {
        L"{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Windows Vista
        L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
        L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // Windows 8
        L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // Windows 8.1
        L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
    };
    std::set<std::wstring> declared;
    for (const Element* os : Find(parsed, L"assembly/compatibility/application/supportedOS"))
    {
        EXPECT_EQ(Narrow(os->ns), Narrow(kCompatibility));
        declared.insert(os->attributes.at(L"Id"));
    }
    EXPECT_EQ(declared, expected);
}

// GDI draws text at the monitor's resolution while the layout stays DPI-unaware: no DPI
// awareness is declared, which would hand the pixel arithmetic real pixels.
TEST_F(ManifestTest, TurnsOnGdiScalingAndDeclaresNoDpiAwareness)
{
    const auto scaling = Find(parsed, L"assembly/application/windowsSettings/gdiScaling");
    ASSERT_EQ(scaling.size(), 1u);
    EXPECT_EQ(Narrow(scaling[0]->ns), Narrow(kWindowsSettings2017));
    EXPECT_EQ(Narrow(scaling[0]->text), "true");
    const auto settings = Find(parsed, L"assembly/application/windowsSettings");
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(Narrow(settings[0]->ns), Narrow(kAsmV3));
    EXPECT_TRUE(Find(parsed, L"assembly/application/windowsSettings/dpiAware").empty());
    EXPECT_TRUE(Find(parsed, L"assembly/application/windowsSettings/dpiAwareness").empty());
}

// The dialogs were laid out for the classic controls: no side-by-side dependency at all, so no
// common controls version 6.
TEST_F(ManifestTest, DependsOnNoOtherAssembly)
{
    for (const Element& element : parsed.elements)
        EXPECT_EQ(element.path.find(L"dependency"), std::wstring::npos) << Narrow(element.path);
}
