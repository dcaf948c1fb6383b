// Unsigned numbers as decimal text. The few places that write a number use this instead of the
// C library's formatted printing, which in a static MinGW build brings the whole of MinGW's own
// printf with it (floating point and wide characters included) for one "%u".
#pragma once

#include <windows.h>

// Room for the longest text, "4294967295", and its terminating zero.
constexpr int AFX_DECIMAL_TEXT_SIZE = 11;

// Writes nValue in decimal, without sign or leading zeros ("0" for zero), and a terminating zero
// into pszText, which holds AFX_DECIMAL_TEXT_SIZE characters. Answers the number of digits.
int AfxFormatDecimal(UINT nValue, char* pszText);
