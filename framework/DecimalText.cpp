#include "framework/DecimalText.h"

int AfxFormatDecimal(uint32_t nValue, char* pszText)
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

AFX_DECIMAL_SCAN AfxScanDecimal(const char* pszText, uint64_t nLimit)
{
    AFX_DECIMAL_SCAN scan = {false, false, 0};
    const char* pch = pszText != nullptr ? pszText : "";
    while (*pch == ' ' || (*pch >= '\t' && *pch <= '\r'))
        ++pch;
    if (*pch == '-' || *pch == '+')
        scan.bNegative = *pch++ == '-';
    for (; *pch >= '0' && *pch <= '9'; ++pch)
    {
        scan.bDigits = true;
        if (scan.nMagnitude <= nLimit)
            scan.nMagnitude = scan.nMagnitude * 10 + static_cast<unsigned>(*pch - '0');
    }
    return scan;
}

bool ReadUnsignedText(const char* pszText, uint32_t* pValue)
{
    const AFX_DECIMAL_SCAN scan = AfxScanDecimal(pszText, 0xFFFFFFFFu);
    if (!scan.bDigits)
        return false;
    if (scan.nMagnitude > 0xFFFFFFFFu)
    {
        *pValue = 0xFFFFFFFFu;
        return true;
    }
    const auto nValue = static_cast<uint32_t>(scan.nMagnitude);
    *pValue = scan.bNegative ? 0u - nValue : nValue;
    return true;
}
