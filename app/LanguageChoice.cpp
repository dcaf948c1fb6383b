#include "app/LanguageChoice.h"

#include <windows.h>

void ChooseLanguageSet()
{
    switch (PRIMARYLANGID(GetUserDefaultUILanguage()))
    {
        case LANG_KOREAN:
        case LANG_JAPANESE:
        case LANG_CHINESE:
            return; // the loader finds the user's own set
    }
    // Any other language would get whichever set the loader happens to try first. Windows' loader
    // follows the thread's UI language, Wine's the thread locale: set both.
    const LANGID korean = MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN);
    SetThreadUILanguage(korean);
    SetThreadLocale(MAKELCID(korean, SORT_DEFAULT));
}
