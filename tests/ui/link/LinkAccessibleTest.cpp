// The link label's object for assistive technology, asked in process: what it says of the link,
// that its default action follows the link as a click does, what it announces, and that once the
// label's window or the label is gone every question is answered "not connected" instead of
// touching what is gone.
#include "framework/AccessibilityLibrary.h"
#include "framework/CString.h"
#include "framework/CWideText.h"
#include "framework/StringResource.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "ui/CLinkURLStatic.h"
#include "ui/link/AccessibleObjects.h"
#include "ui/link/LinkTestSupport.h"
#include "ui/link/VersionDialogWindow.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace
{
LONG NumberOf(IAccessible* pAcc, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*))
{
    VARIANT answer;
    VariantInit(&answer);
    const HRESULT hr = (pAcc->*get)(Self(), &answer);
    return hr == S_OK && answer.vt == VT_I4 ? answer.lVal : -1;
}

std::wstring TextOf(IAccessible* pAcc,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*))
{
    BSTR bstr = nullptr;
    const HRESULT hr = (pAcc->*get)(Self(), &bstr);
    std::wstring text = hr == S_OK && bstr != nullptr ? bstr : L"(none)";
    SysFreeString(bstr);
    return text;
}

// The events announced for one window while alive, as a reader's out-of-context hook receives
// them (they arrive as the thread pumps).
class WinEventRecorder
{
public:
    explicit WinEventRecorder(HWND hWnd)
    {
        s_hWatched = hWnd;
        s_events.clear();
        m_hHook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                  &OnEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~WinEventRecorder()
    {
        if (m_hHook != nullptr)
            UnhookWinEvent(m_hHook);
    }
    WinEventRecorder(const WinEventRecorder&) = delete;
    WinEventRecorder& operator=(const WinEventRecorder&) = delete;

    bool Hooked() const { return m_hHook != nullptr; }
    // How many of the event came for the window's client object so far.
    size_t Count(DWORD event) const
    {
        FlushEvents();
        size_t count = 0;
        for (DWORD seen : s_events)
            count += seen == event;
        return count;
    }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND hWnd, LONG idObject, LONG idChild,
                                 DWORD, DWORD)
    {
        if (hWnd == s_hWatched && idObject == OBJID_CLIENT && idChild == CHILDID_SELF)
            s_events.push_back(event);
    }

    static inline HWND s_hWatched = nullptr;
    static inline std::vector<DWORD> s_events;
    HWINEVENTHOOK m_hHook = nullptr;
};

class LinkAccessibleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_window.Handle(), nullptr);
        m_window.ShowAt(200, 200);
        SetCursorPos(5, 5);
        FlushEvents();
    }

    VersionDialogWindow m_window;
};

TEST_F(LinkAccessibleTest, TellsALinkItsTextItsAddressItsStateAndWhereItsTextIs)
{
    CLinkURLStatic label;
    ASSERT_TRUE(m_window.Attach(label, IDC_LINK_HOMEPAGE, "http://reader.example/"));
    CLinkURLStatic other;
    ASSERT_TRUE(m_window.Attach(other, IDC_LINK_COMMUNITY, "http://other.example/"));
    FlushEvents();
    IAccessible* pAcc = ObjectOf(label);
    ASSERT_NE(pAcc, nullptr);

    EXPECT_EQ(NumberOf(pAcc, &IAccessible::get_accRole), ROLE_SYSTEM_LINK);
    EXPECT_EQ(TextOf(pAcc, &IAccessible::get_accName), L"http://reader.example/");
    EXPECT_EQ(TextOf(pAcc, &IAccessible::get_accValue), L"http://reader.example/");
    CString strAction;
    ASSERT_TRUE(AfxLoadString(IDS_LINK_DEFAULT_ACTION, strAction));
    EXPECT_EQ(TextOf(pAcc, &IAccessible::get_accDefaultAction),
              std::wstring(CWideText(strAction, AfxGetStringCodePage(IDS_LINK_DEFAULT_ACTION))));

    SetFocus(other);
    EXPECT_EQ(NumberOf(pAcc, &IAccessible::get_accState),
              STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED);
    SetFocus(label);
    EXPECT_EQ(NumberOf(pAcc, &IAccessible::get_accState),
              STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSED);

    // The location is the label's hit box on screen: its last pixel is on the text, the next
    // ones are not.
    long x = 0, y = 0, cx = 0, cy = 0;
    ASSERT_EQ(pAcc->accLocation(&x, &y, &cx, &cy, Self()), S_OK);
    POINT origin = {0, 0};
    ClientToScreen(label, &origin);
    EXPECT_EQ(x, origin.x);
    EXPECT_EQ(y, origin.y);
    RECT rcClient = {};
    GetClientRect(label, &rcClient);
    EXPECT_LT(cx, rcClient.right) << "the text, not the whole control";
    EXPECT_TRUE(label.HitTestText({cx - 1, cy - 1}));
    EXPECT_FALSE(label.HitTestText({cx, 0}));
    EXPECT_FALSE(label.HitTestText({0, cy}));
    const SIZE text = TextExtentOf(label);
    EXPECT_NEAR(cx, text.cx, 2);
    EXPECT_EQ(cy, text.cy);

    // Another child than the link itself: the standard object's answer (a static has none).
    VARIANT child = Self();
    child.lVal = 1;
    VARIANT role;
    VariantInit(&role);
    EXPECT_EQ(pAcc->get_accRole(child, &role), E_INVALIDARG);
    EXPECT_EQ(pAcc->Release(), 1u) << "the label keeps its own reference";
}

// Everything else is the standard object's: the parent is the window object of the label's own
// window, as for any control, and the window is found from the object.
TEST_F(LinkAccessibleTest, LeavesParentAndWindowToTheStandardObject)
{
    CLinkURLStatic label;
    ASSERT_TRUE(m_window.Attach(label, IDC_LINK_HOMEPAGE, "http://parent.example/"));
    IAccessible* pAcc = ObjectOf(label);
    ASSERT_NE(pAcc, nullptr);
    IDispatch* pParent = nullptr;
    EXPECT_EQ(pAcc->get_accParent(&pParent), S_OK);
    HWND hParentWindow = nullptr;
    IAccessible* pParentAcc = nullptr;
    if (pParent != nullptr &&
        SUCCEEDED(pParent->QueryInterface(kIIDAccessible, reinterpret_cast<void**>(&pParentAcc))))
    {
        WindowFromAccessibleObject(pParentAcc, &hParentWindow);
        pParentAcc->Release();
    }
    if (pParent != nullptr)
        pParent->Release();
    EXPECT_EQ(hParentWindow, label.m_hWnd);
    HWND hWindow = nullptr;
    EXPECT_EQ(WindowFromAccessibleObject(pAcc, &hWindow), S_OK);
    EXPECT_EQ(hWindow, label.m_hWnd);
    pAcc->Release();
}

// The default action opens the address once, as a click does: the link is visited and drawn so,
// and a reader is told that its state changed; a second action opens it again and changes no
// state. Setting the text is announced as a new name.
TEST_F(LinkAccessibleTest, TheDefaultActionFollowsTheLinkAndReadersAreToldOfEachChange)
{
    ShellOpenRecorder recorder;
    CLinkURLStatic label;
    ASSERT_TRUE(m_window.Attach(label, IDC_LINK_HOMEPAGE, "http://action.example/"));
    FlushEvents();
    WinEventRecorder events(label);
    ASSERT_TRUE(events.Hooked());
    IAccessible* pAcc = ObjectOf(label);
    ASSERT_NE(pAcc, nullptr);

    EXPECT_EQ(pAcc->accDoDefaultAction(Self()), S_OK);
    EXPECT_EQ(recorder.Opened(1), std::vector<std::string>{"http://action.example/"});
    EXPECT_TRUE(label.m_bVisited);
    EXPECT_EQ(label.m_crText, CLinkURLStatic::s_crVisited);
    EXPECT_NE(NumberOf(pAcc, &IAccessible::get_accState) & STATE_SYSTEM_TRAVERSED, 0);
    EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE), 1u) << "visited";
    EXPECT_EQ(GetCapture(), nullptr) << "nothing stays pressed";

    EXPECT_EQ(pAcc->accDoDefaultAction(Self()), S_OK);
    EXPECT_EQ(recorder.OpenedUpToMarker(2),
              (std::vector<std::string>{"http://action.example/", "http://action.example/"}));
    EXPECT_EQ(events.Count(EVENT_OBJECT_STATECHANGE), 1u) << "visited already";

    EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE), 0u);
    SetWindowTextA(label, "http://renamed.example/");
    EXPECT_EQ(events.Count(EVENT_OBJECT_NAMECHANGE), 1u);
    EXPECT_EQ(TextOf(pAcc, &IAccessible::get_accName), L"http://renamed.example/");
    pAcc->Release();
}

// Every question that a reader may still ask of an object it holds, with what it gets back.
struct Question
{
    const char* name;
    std::function<HRESULT(IAccessible*)> ask;
};

std::vector<Question> EveryQuestion()
{
    auto text = [](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*))
    {
        return [get](IAccessible* p)
        {
            BSTR bstr = nullptr;
            const HRESULT hr = (p->*get)(Self(), &bstr);
            SysFreeString(bstr);
            return hr;
        };
    };
    auto number = [](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*))
    {
        return [get](IAccessible* p)
        {
            VARIANT answer;
            VariantInit(&answer);
            const HRESULT hr = (p->*get)(Self(), &answer);
            VariantClear(&answer);
            return hr;
        };
    };
    return {
        {"role", number(&IAccessible::get_accRole)},
        {"name", text(&IAccessible::get_accName)},
        {"value", text(&IAccessible::get_accValue)},
        {"state", number(&IAccessible::get_accState)},
        {"default action", text(&IAccessible::get_accDefaultAction)},
        {"description", text(&IAccessible::get_accDescription)},
        {"help", text(&IAccessible::get_accHelp)},
        {"keyboard shortcut", text(&IAccessible::get_accKeyboardShortcut)},
        {"location",
         [](IAccessible* p)
         {
             long x = 0, y = 0, cx = 0, cy = 0;
             return p->accLocation(&x, &y, &cx, &cy, Self());
         }},
        {"do default action", [](IAccessible* p) { return p->accDoDefaultAction(Self()); }},
        {"parent",
         [](IAccessible* p)
         {
             IDispatch* pParent = nullptr;
             const HRESULT hr = p->get_accParent(&pParent);
             if (pParent != nullptr)
                 pParent->Release();
             return hr;
         }},
        {"child count",
         [](IAccessible* p)
         {
             long count = 0;
             return p->get_accChildCount(&count);
         }},
        {"navigate",
         [](IAccessible* p)
         {
             VARIANT end;
             VariantInit(&end);
             const HRESULT hr = p->accNavigate(NAVDIR_NEXT, Self(), &end);
             VariantClear(&end);
             return hr;
         }},
        {"hit test",
         [](IAccessible* p)
         {
             VARIANT child;
             VariantInit(&child);
             const HRESULT hr = p->accHitTest(0, 0, &child);
             VariantClear(&child);
             return hr;
         }},
        {"focus",
         [](IAccessible* p)
         {
             VARIANT child;
             VariantInit(&child);
             const HRESULT hr = p->get_accFocus(&child);
             VariantClear(&child);
             return hr;
         }},
        {"window",
         [](IAccessible* p)
         {
             HWND hWnd = nullptr;
             return WindowFromAccessibleObject(p, &hWnd);
         }},
    };
}

// Two ways to lose what the object stands for: the window destroyed while the label object lives
// on (a dialog closed, its members not yet gone), and the label object gone while its window
// stays.
TEST_F(LinkAccessibleTest, OnceTheWindowOrTheLabelIsGoneEveryQuestionIsAnsweredNotConnected)
{
    ShellOpenRecorder recorder;
    for (const bool bDestroyWindow : {true, false})
    {
        SCOPED_TRACE(bDestroyWindow ? "window destroyed" : "label gone, window kept");
        std::optional<VersionDialogWindow> window;
        window.emplace();
        ASSERT_NE(window->Handle(), nullptr);
        std::optional<CLinkURLStatic> label;
        label.emplace();
        ASSERT_TRUE(window->Attach(*label, IDC_LINK_HOMEPAGE, "http://gone.example/"));
        IAccessible* pAcc = ObjectOf(*label);
        ASSERT_NE(pAcc, nullptr);
        ASSERT_EQ(NumberOf(pAcc, &IAccessible::get_accRole), ROLE_SYSTEM_LINK);

        if (bDestroyWindow)
            window->Destroy();
        else
            label.reset();
        for (const Question& question : EveryQuestion())
        {
            SCOPED_TRACE(question.name);
            EXPECT_EQ(question.ask(pAcc), CO_E_OBJNOTCONNECTED);
        }
        label.reset();
        EXPECT_EQ(pAcc->Release(), 0u) << "released with the reader's last reference";
    }
    EXPECT_TRUE(recorder.OpenedUpToMarker(0).empty()) << "an action after the end opened something";
}
} // namespace
