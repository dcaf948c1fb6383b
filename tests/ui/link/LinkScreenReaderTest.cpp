// The version dialog's links as a screen reader meets them: the built program started as a process
// of its own, and each link's object read from this process through AccessibleObjectFromWindow,
// as a reader reads it. Each property read is printed, so that a run shows what a reader hears.
#include "framework/AccessibilityLibrary.h"
#include "res/ResourceModule.h"
#include "res/ResourceReader.h"
#include "support/LanguageTexts.h"
#include "support/ProcessDialogs.h"
#include "ui/link/AccessibleObjects.h"
#include "ui/link/LinkTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const DWORD kPatienceMs = 15000;
const UINT kVersionCommand = 16; // the system menu's version item
const WORD kLinkDefaultAction = 10020;

bool WaitUntil(const std::function<bool()>& condition)
{
    return ::WaitUntil(condition, kPatienceMs);
}

std::wstring Widened(const char* psz)
{
    return std::wstring(psz, psz + strlen(psz));
}

std::string Utf8(const std::wstring& text)
{
    const int cb = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), cb,
                        nullptr, nullptr);
    return utf8;
}

// The name of a link's default action in the language set this user gets, read from the built
// program's string table.
std::wstring DefaultActionOfThisUsersSet()
{
    const ResourceModule program(STARTUP_SETTINGS_EXE);
    std::vector<unsigned char> data;
    if (!program.Load(kStringType, kLinkDefaultAction / 16 + 1, TextsForThisUser().language, &data))
        return L"(no string block)";
    ResourceReader reader(data);
    std::wstring entry;
    for (int index = 0; index <= kLinkDefaultAction % 16; ++index)
        entry = reader.Units(reader.Word());
    return entry;
}

// This thread in a single-threaded apartment, as a reader's is, while alive.
class ReaderApartment
{
public:
    ReaderApartment() { m_hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ReaderApartment()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }
    ReaderApartment(const ReaderApartment&) = delete;
    ReaderApartment& operator=(const ReaderApartment&) = delete;

private:
    HRESULT m_hr;
};

// What a reader learns of a link.
struct ReadLink
{
    HRESULT hrObject = E_FAIL;
    LONG role = -1;
    std::wstring name;
    std::wstring value;
    LONG state = -1;
    RECT location = {};
    std::wstring defaultAction;
};

std::wstring TakeText(HRESULT hr, BSTR bstr)
{
    std::wstring text = hr == S_OK && bstr != nullptr ? std::wstring(bstr) : L"(none)";
    SysFreeString(bstr);
    return text;
}

ReadLink Read(IAccessible* pAcc)
{
    ReadLink link;
    link.hrObject = S_OK;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT answer;
    VariantInit(&answer);
    if (pAcc->get_accRole(self, &answer) == S_OK && answer.vt == VT_I4)
        link.role = answer.lVal;
    VariantClear(&answer);
    if (pAcc->get_accState(self, &answer) == S_OK && answer.vt == VT_I4)
        link.state = answer.lVal;
    VariantClear(&answer);
    BSTR bstr = nullptr;
    HRESULT hr = pAcc->get_accName(self, &bstr);
    link.name = TakeText(hr, bstr);
    bstr = nullptr;
    hr = pAcc->get_accValue(self, &bstr);
    link.value = TakeText(hr, bstr);
    bstr = nullptr;
    hr = pAcc->get_accDefaultAction(self, &bstr);
    link.defaultAction = TakeText(hr, bstr);
    long x = 0, y = 0, cx = 0, cy = 0;
    if (pAcc->accLocation(&x, &y, &cx, &cy, self) == S_OK)
        link.location = {x, y, x + cx, y + cy};
    return link;
}

void Print(const char* when, int nID, const ReadLink& link)
{
    printf("[reader] %s, control %d: role %ld, name \"%s\", value \"%s\", state 0x%lx, "
           "location (%ld, %ld) %ldx%ld, default action \"%s\"\n",
           when, nID, static_cast<long>(link.role), Utf8(link.name).c_str(),
           Utf8(link.value).c_str(), static_cast<unsigned long>(link.state),
           static_cast<long>(link.location.left), static_cast<long>(link.location.top),
           static_cast<long>(link.location.right - link.location.left),
           static_cast<long>(link.location.bottom - link.location.top),
           Utf8(link.defaultAction).c_str());
    fflush(stdout);
}

// A link's box, as a reader is told it: where the text is, inside the control and not the whole of
// it. (A left-aligned static's text starts at its top left corner.)
void ExpectLocationOnTheText(const RECT& location, HWND hLink)
{
    RECT rcLink = {};
    GetWindowRect(hLink, &rcLink);
    EXPECT_EQ(location.left, rcLink.left);
    EXPECT_EQ(location.top, rcLink.top);
    EXPECT_GT(location.right - location.left, 0);
    EXPECT_LT(location.right, rcLink.right) << "the text's box, not the whole control";
    EXPECT_GT(location.bottom, location.top);
    EXPECT_LE(location.bottom, rcLink.bottom);
}

const LONG kLinkState = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;

// Both links of the real program's version dialog, each read, focused, followed through its
// default action and read again.
TEST(LinkScreenReaderTest, AReaderInAnotherProcessReadsEachLinkFollowsItAndHearsItVisited)
{
    ReaderApartment apartment;
    ShellOpenRecorder recorder(STARTUP_LINK_RECORDER_EXE);
    ChildProgram program(Widened(STARTUP_SETTINGS_EXE), kPatienceMs);
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hDlg = VisibleDialogOf(program.ProcessId())) != nullptr; }))
        << "no dialog of the program appeared";
    PostMessageW(hDlg, WM_SYSCOMMAND, kVersionCommand, 0);
    HWND hVersion = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (hVersion = VisibleDialogOf(program.ProcessId(), hDlg)) != nullptr; }))
        << "no version dialog appeared";

    const std::wstring action = DefaultActionOfThisUsersSet();
    EXPECT_FALSE(action.empty()) << "the program names no link action";
    const struct
    {
        int nID;
        const wchar_t* address;
    } links[] = {{1016, L"http://kr.orvane.example/"}, {1015, L"http://community.orvane.example/"}};
    std::vector<std::string> opened;
    for (const auto& link : links)
    {
        SCOPED_TRACE(link.nID);
        HWND hLink = GetDlgItem(hVersion, link.nID);
        IAccessible* pAcc = ObjectOf(hLink);
        ASSERT_NE(pAcc, nullptr) << "no object for the link";

        const ReadLink before = Read(pAcc);
        Print("before", link.nID, before);
        EXPECT_EQ(before.role, ROLE_SYSTEM_LINK);
        EXPECT_EQ(before.name, ControlTextW(hLink)) << "the text shown";
        EXPECT_EQ(before.name, link.address);
        EXPECT_EQ(before.value, link.address) << "the address a click opens";
        EXPECT_EQ(before.state, kLinkState) << "focusable and linked, not yet traversed";
        ExpectLocationOnTheText(before.location, hLink);
        EXPECT_EQ(before.defaultAction, action);

        PostMessageW(hVersion, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hLink), TRUE);
        EXPECT_TRUE(
            WaitUntil([&] { return Read(pAcc).state == (kLinkState | STATE_SYSTEM_FOCUSED); }))
            << "focused while it has the focus";

        EXPECT_EQ(pAcc->accDoDefaultAction(Self()), S_OK);
        opened.push_back(Utf8(link.address));
        EXPECT_EQ(recorder.Opened(opened.size()), opened);
        const ReadLink after = Read(pAcc);
        Print("after", link.nID, after);
        EXPECT_EQ(after.state, kLinkState | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_TRAVERSED)
            << "traversed once visited";
        EXPECT_EQ(after.name, before.name);
        EXPECT_EQ(after.value, before.value);
        EXPECT_TRUE(IsWindowVisible(hVersion)) << "the action presses nothing else";
        pAcc->Release();
    }
    PostMessageW(hVersion, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(hVersion); }));
    PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_EQ(recorder.OpenedUpToMarker(opened.size()), opened) << "each opened once, nothing else";
}

// The main dialog as a reader meets it: the banner picture first, named with the product title,
// and the proxy fields named by the labels before them.
TEST(LinkScreenReaderTest, TheBannerIsNamedWithTheProductTitleAndTheFieldsByTheirLabels)
{
    ReaderApartment apartment;
    ChildProgram program(Widened(STARTUP_SETTINGS_EXE), kPatienceMs);
    ASSERT_TRUE(program.Started()) << STARTUP_SETTINGS_EXE;
    HWND hDlg = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (hDlg = VisibleDialogOf(program.ProcessId())) != nullptr; }))
        << "no dialog of the program appeared";

    IAccessible* pBanner = ObjectOf(GetDlgItem(hDlg, 1001));
    ASSERT_NE(pBanner, nullptr);
    const ReadLink banner = Read(pBanner);
    printf("[reader] banner: role %ld, name \"%s\"\n", static_cast<long>(banner.role),
           Utf8(banner.name).c_str());
    EXPECT_EQ(banner.role, ROLE_SYSTEM_GRAPHIC);
    EXPECT_EQ(banner.name, L"Corvath Plus");
    pBanner->Release();

    for (int nID : {1009, 1010, 1011, 1012})
    {
        SCOPED_TRACE(nID);
        HWND hField = GetDlgItem(hDlg, nID);
        IAccessible* pField = ObjectOf(hField);
        ASSERT_NE(pField, nullptr);
        EXPECT_EQ(Read(pField).name, ControlTextW(GetWindow(hField, GW_HWNDPREV)));
        pField->Release();
    }
    PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}
} // namespace
