// The program's texts as a user of each language set must read them, and the set that the program
// gives the user of this process: the user's display language when it is Korean, Japanese or
// Chinese, the Korean set for everybody else.
#pragma once

#include <windows.h>

struct LanguageTexts
{
    const char* name;
    LANGID language;         // of the set's templates, strings and menu
    const char* caption;     // string 128 with the product title
    const char* gameRunning; // string 10000 with the product title
    const char* versionItem; // string 101
    const char* notANumber;  // string 61719
    const char* saveFailed;  // string 10016
    const char* unstorable;  // string 10017
    const char* colonInHost; // string 10018
    const char* noHost;      // string 10019
};

inline const LanguageTexts kKoreanTexts = {
    "ko",
    MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN),
    "『Corvath Plus』 기동환경 설정",
    "『Corvath Plus』본체를 기동시키고 있는 경우에는 설정을 변경할 수 없습니다.",
    "버전정보(&A)...",
    "양의 정수를 입력하십시오.",
    "설정을 저장하지 못했습니다. 레지스트리에 쓸 권한이 있는지 확인하십시오.",
    "이 시스템에서 저장할 수 없는 문자가 포함되어 있습니다. 다른 문자로 입력하십시오.",
    "IP 주소에는 ':'를 쓸 수 없습니다. 포트 번호는 포트 칸에 입력하십시오.",
    "프록시 서버의 IP 주소를 입력하십시오.",
};

inline const LanguageTexts kJapaneseTexts = {
    "ja",
    MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
    "『Corvath Plus』 起動環境設定",
    "『Corvath Plus』本体が起動している場合は、\n設定の変更は出来ません",
    "バージョン情報(&A)...",
    "正の整数を入力してください。",
    "設定を保存できませんでした。レジストリへの書き込み権限があるか確認してください。",
    "このシステムでは保存できない文字が含まれています。別の文字で入力してください。",
    "IPアドレスに ':' は使えません。ポート番号はポート欄に入力してください。",
    "プロキシサーバーのIPアドレスを入力してください。",
};

inline const LanguageTexts kTraditionalChineseTexts = {
    "zh-TW",
    MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL),
    "『Corvath Plus』啟動環境設定",
    "『Corvath Plus』本身如果啟動的話，\n無法變更設定",
    "版本情報(&A)...",
    "請輸入正整數。",
    "無法儲存設定。請確認您是否有寫入登錄檔的權限。",
    "含有此系統無法儲存的字元，請改用其他字元輸入。",
    "IP 位址不可包含 ':'。請在連接埠欄位輸入連接埠號碼。",
    "請輸入 Proxy 伺服器的 IP 位址。",
};

inline const LanguageTexts& TextsForThisUser()
{
    switch (PRIMARYLANGID(GetUserDefaultUILanguage()))
    {
        case LANG_JAPANESE:
            return kJapaneseTexts;
        case LANG_CHINESE:
            return kTraditionalChineseTexts;
        default:
            return kKoreanTexts;
    }
}
