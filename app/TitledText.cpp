#include "app/TitledText.h"

CString SubstituteTitle(const char* lpszFormat, const char* lpszTitle)
{
    CString strResult;
    bool bTitlePlaced = false;
    for (const char* pch = lpszFormat; *pch != '\0'; ++pch)
    {
        if (pch[0] == '%' && pch[1] == '%')
        {
            strResult += '%';
            ++pch;
        }
        else if (pch[0] == '%' && pch[1] == 's' && !bTitlePlaced)
        {
            strResult += lpszTitle;
            bTitlePlaced = true;
            ++pch;
        }
        else
        {
            strResult += *pch;
        }
    }
    return strResult;
}
