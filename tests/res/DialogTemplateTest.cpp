// Dialog templates 131 (main settings) and 100 (version information) of every language set, read
// back from the built program and compared field by field with their tables.
#include "res/DialogTemplate.h"
#include "res/LanguageSets.h"
#include "res/ProgramResourcesTest.h"
#include "res/resource.h"

#include <span>

namespace
{
// Predefined window classes as templates name them by number.
const WORD kButton = 0x0080;
const WORD kEdit = 0x0081;
const WORD kStatic = 0x0082;

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

struct Rect
{
    short x, y, cx, cy;
    bool operator==(const Rect&) const = default;
};

// One control as the tables give it: texts per set (Korean, Japanese, Traditional Chinese), and
// the Korean geometry where it differs.
struct ControlRow
{
    int id;
    WORD windowClass;
    DWORD style; // besides WS_CHILD | WS_VISIBLE
    Rect geometry;
    const char* texts[3];
    Rect koreanGeometry = {};
    WORD textOrdinal = 0; // a text that names a resource by number instead
};

struct DialogRow
{
    LanguageSet set;
    bool extended;
    DWORD style;
    Rect geometry;
    const char* typeface;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charset;
    const char* caption;
};

const DialogRow kMainDialogs[] = {
    {kKorean,
     true,
     kDialogStyle | DS_FIXEDSYS,
     {0, 0, 235, 239},
     "MS Shell Dlg",
     8,
     0,
     0,
     1,
     "『Corvath Plus』 기동환경 설정"},
    {kJapanese,
     false,
     kDialogStyle,
     {0, 0, 235, 239},
     "ＭＳ Ｐゴシック",
     9,
     0,
     0,
     0,
     "『Corvath Plus』 起動環境設定"},
    {kTraditionalChinese,
     false,
     kDialogStyle,
     {0, 0, 235, 239},
     "細明體",
     9,
     0,
     0,
     0,
     "『Corvath Plus』啟動環境設定"},
};

const DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kLabel = SS_LEFT | WS_GROUP;
const DWORD kTextEdit = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

const ControlRow kMainControls[] = {
    {1001, kStatic, SS_BITMAP, {7, 7, 20, 20}, {"", "", ""}},
    {1003, kButton, kCheckBox, {19, 49, 55, 10}, {"ＢＧＭ 재생", "ＢＧＭを聴く", "欣賞BGM"}},
    {1004, kButton, kCheckBox, {76, 49, 65, 10}, {"효과음 재생", "効果音を鳴らす", "撥放音效"}},
    {1005,
     kButton,
     kCheckBox,
     {144, 49, 75, 10},
     {"동영상 재생", "ムービーを再生する", "撥放影片"}},
    {-1, kButton, BS_GROUPBOX, {7, 33, 220, 35}, {"미디어 설정", "メディア設定", "媒體設定"}},
    {1006,
     kButton,
     kCheckBox | BS_NOTIFY,
     {12, 88, 81, 10},
     {"프록시 사용", "通信にプロキシを使用", "連線時使用Proxy "}},
    {1007,
     kButton,
     BS_AUTORADIOBUTTON | WS_GROUP | BS_NOTIFY,
     {16, 104, 102, 10},
     {"InternetExplorer설정 사용", "InternetExplorerの設定を使用", "使用IE的設定"},
     {16, 104, 128, 10}},
    {1008,
     kButton,
     BS_AUTORADIOBUTTON | BS_NOTIFY,
     {16, 118, 74, 10},
     {"프록시정보 설정", "プロキシ情報を設定", "設定Proxy情報"}},
    {-1, kStatic, kLabel, {23, 136, 31, 8}, {"ＩＰ 주소", "ＩＰアドレス", "IP位址"}},
    {1009, kEdit, kTextEdit, {58, 134, 60, 14}, {"", "", ""}},
    {-1, kStatic, kLabel, {128, 136, 19, 8}, {"포트", "ポート", "連接埠"}},
    {1010, kEdit, kTextEdit | ES_NUMBER, {150, 134, 25, 14}, {"", "", ""}},
    {-1,
     kStatic,
     kLabel,
     {24, 154, 197, 8},
     {"프록시에 사용자이름과 비밀번호가 필요한 경우에는 입력해 \n주십시오.",
      "プロキシにユーザー名とパスワードが必要な場合は入力してください",
      "Proxy需要用戶名及密碼時，請輸入"},
     {10, 150, 227, 16}},
    {-1, kStatic, kLabel, {37, 170, 35, 8}, {"사용자이름", "ユーザー名", "用戶名"}},
    {1011, kEdit, kTextEdit, {80, 168, 80, 14}, {"", "", ""}},
    {-1, kStatic, kLabel, {37, 188, 32, 8}, {"비밀번호", "パスワード", "密碼"}},
    {1012, kEdit, kTextEdit | ES_PASSWORD, {80, 186, 80, 14}, {"", "", ""}},
    {-1,
     kButton,
     BS_GROUPBOX,
     {7, 75, 220, 135},
     {"네트워크", "ネットワーク", "網路"},
     {8, 75, 220, 135}},
    {1002, kButton, BS_PUSHBUTTON | WS_TABSTOP, {70, 218, 50, 14}, {"초기화", "初期化", "初始化"}},
    {IDOK, kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, {124, 218, 50, 14}, {"결정", "決定", "決定"}},
    {IDCANCEL, kButton, BS_PUSHBUTTON | WS_TABSTOP, {178, 218, 50, 14}, {"중지", "中止", "中止"}},
};

const DialogRow kVersionDialogs[] = {
    {kKorean, false, kDialogStyle, {0, 0, 266, 83}, "MS Shell Dlg", 9, 0, 0, 0, "버전정보"},
    {kJapanese,
     false,
     kDialogStyle,
     {0, 0, 226, 83},
     "ＭＳ Ｐゴシック",
     9,
     0,
     0,
     0,
     "バージョン情報"},
    {kTraditionalChinese, false, kDialogStyle, {0, 0, 226, 83}, "細明體", 9, 0, 0, 0, "版本情報"},
};

const char kCopyright[] = "Copyright (C) 2004 Orvane Co., Ltd.";

const ControlRow kVersionControls[] = {
    {-1, kStatic, SS_ICON, {11, 12, 20, 21}, {}, {}, IDI_APP},
    {1013,
     kStatic,
     kLabel,
     {40, 8, 120, 12},
     {"『Corvath Plus』 기동환경 설정", "『Corvath Plus』 起動環境設定",
      "『Corvath Plus』啟動環境設定"},
     {40, 8, 168, 12}},
    {1014,
     kStatic,
     kLabel | SS_NOPREFIX,
     {40, 22, 119, 8},
     {"Version 1.0", "Version 1.0", "Version 1.0"}},
    {1016,
     kStatic,
     kLabel,
     {40, 36, 150, 8},
     {"http://kr.orvane.example/", "http://jp.orvane.example/", "http://tw.orvane.example/"}},
    {1015,
     kStatic,
     kLabel,
     {40, 50, 150, 8},
     {"http://community.orvane.example/", "http://community-jp.orvane.example/",
      "http://community-tw.orvane.example/"}},
    {-1, kStatic, kLabel, {40, 64, 144, 8}, {kCopyright, kCopyright, kCopyright}},
    {IDOK,
     kButton,
     BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP,
     {169, 7, 50, 14},
     {"OK", "OK", "OK"},
     {210, 7, 50, 14}},
};

size_t SetIndex(const LanguageSet& set)
{
    return set.language == kKorean.language ? 0 : set.language == kJapanese.language ? 1 : 2;
}

NameOrOrdinal ExpectedText(const ControlRow& row, const LanguageSet& set)
{
    if (row.textOrdinal)
        return NameOrOrdinal::Ordinal(row.textOrdinal);
    return NameOrOrdinal::Name(Utf16(row.texts[SetIndex(set)]));
}

Rect ExpectedGeometry(const ControlRow& row, const LanguageSet& set)
{
    bool koreanDiffers = row.koreanGeometry.cx != 0;
    return set.language == kKorean.language && koreanDiffers ? row.koreanGeometry : row.geometry;
}

// -1 is stored in the width of the id field: 0xFFFF classic, 0xFFFFFFFF extended.
DWORD ExpectedId(int id, bool extended)
{
    return extended ? static_cast<DWORD>(id) : static_cast<WORD>(id);
}

void ExpectHeader(const DialogTemplate& dialog, const DialogRow& row)
{
    EXPECT_EQ(dialog.extended, row.extended);
    EXPECT_EQ(dialog.style, row.style);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.helpId, 0u);
    EXPECT_EQ((Rect{dialog.x, dialog.y, dialog.cx, dialog.cy}), row.geometry);
    EXPECT_EQ(dialog.menu, NameOrOrdinal::Name({})) << "menu " << Describe(dialog.menu);
    EXPECT_EQ(dialog.windowClass, NameOrOrdinal::Name({}))
        << "class " << Describe(dialog.windowClass);
    EXPECT_EQ(dialog.caption, Utf16(row.caption));
    EXPECT_EQ(dialog.typeface, Utf16(row.typeface));
    EXPECT_EQ(dialog.pointSize, row.pointSize);
    EXPECT_EQ(dialog.weight, row.weight);
    EXPECT_EQ(dialog.italic, row.italic);
    EXPECT_EQ(dialog.charset, row.charset);
}

void ExpectControl(const DialogItem& item, const ControlRow& row, const LanguageSet& set,
                   bool extended)
{
    EXPECT_EQ(item.id, ExpectedId(row.id, extended));
    EXPECT_EQ(item.windowClass, NameOrOrdinal::Ordinal(row.windowClass))
        << "class " << Describe(item.windowClass);
    EXPECT_EQ(item.style, kChild | row.style)
        << std::hex << "style 0x" << item.style << " instead of 0x" << (kChild | row.style);
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(item.helpId, 0u);
    Rect geometry{item.x, item.y, item.cx, item.cy};
    Rect expected = ExpectedGeometry(row, set);
    EXPECT_EQ(geometry, expected) << geometry.x << ", " << geometry.y << ", " << geometry.cx << ", "
                                  << geometry.cy;
    NameOrOrdinal text = ExpectedText(row, set);
    EXPECT_EQ(item.text, text) << Describe(item.text) << " instead of " << Describe(text);
    EXPECT_TRUE(item.creationData.empty());
}
} // namespace

class DialogTemplateTest : public ProgramResourcesTest
{
protected:
    void ExpectDialog(WORD id, const DialogRow& row, std::span<const ControlRow> controls)
    {
        SCOPED_TRACE(std::string(row.set.name) + " dialog " + std::to_string(id));
        DialogTemplate dialog;
        ASSERT_TRUE(ParseDialogTemplate(Load(kDialogType, id, row.set.language), &dialog))
            << "the template does not parse";
        ExpectHeader(dialog, row);
        ASSERT_EQ(dialog.items.size(), controls.size());
        for (size_t i = 0; i < controls.size(); ++i)
        {
            SCOPED_TRACE("row " + std::to_string(i + 1) + ", id " + std::to_string(controls[i].id));
            ExpectControl(dialog.items[i], controls[i], row.set, dialog.extended);
        }
    }
};

TEST_F(DialogTemplateTest, MainDialogMatchesItsTableInEverySet)
{
    for (const DialogRow& row : kMainDialogs)
        ExpectDialog(IDD_STARTUP_SETTINGS, row, kMainControls);
}

TEST_F(DialogTemplateTest, VersionDialogMatchesItsTableInEverySet)
{
    for (const DialogRow& row : kVersionDialogs)
        ExpectDialog(IDD_VERSION_INFO, row, kVersionControls);
}

namespace
{
INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}
} // namespace

// The icon static names icon 128, which exists in Japanese only: the real dialog of every set must
// still find it in the program.
TEST_F(DialogTemplateTest, VersionDialogShowsIcon128InEverySet)
{
    for (const LanguageSet& set : kLanguageSets)
    {
        SCOPED_TRACE(set.name);
        std::vector<unsigned char> data = Load(kDialogType, IDD_VERSION_INFO, set.language);
        ASSERT_FALSE(data.empty());
        HWND dialog = CreateDialogIndirectParamW(Program().Handle(),
                                                 reinterpret_cast<const DLGTEMPLATE*>(data.data()),
                                                 nullptr, QuietDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        HWND iconStatic = GetWindow(dialog, GW_CHILD);
        ASSERT_NE(iconStatic, nullptr);
        EXPECT_NE(SendMessageW(iconStatic, STM_GETICON, 0, 0), 0);
        DestroyWindow(dialog);
    }
}
