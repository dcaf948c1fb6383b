#include "framework/DecimalText.h"

int AfxFormatDecimal(UINT nValue, char* pszText)
{
    // The digits come out lowest first: collect them backwards, then copy them to the front.
    char szDigits[AFX_DECIMAL_TEXT_SIZE];
    char* pch = szDigits + sizeof(szDigits);
    *--pch = '\0';
    do
    {
        *--pch = static_cast<char>('0' + nValue % 10);
        nValue /= 10;
    } while (nValue != 0);
    const int cchDigits = static_cast<int>(szDigits + sizeof(szDigits) - 1 - pch);
    for (int i = 0; i <= cchDigits; ++i)
        pszText[i] = pch[i];
    return cchDigits;
}
