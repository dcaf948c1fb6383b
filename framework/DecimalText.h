// Unsigned numbers as decimal text, both ways, in place of the C library's formatted printing and
// reading: in a static MinGW build those bring the whole of MinGW's own printf and scanf with them
// (floating point and wide characters included) for one "%u". Standard C++ only, no Windows: the
// data exchange and the settings' port reading share it, and every build (the native one too)
// compiles and tests it.
#pragma once

#include <cstdint>

// Room for the longest text, "4294967295", and its terminating zero.
constexpr int AFX_DECIMAL_TEXT_SIZE = 11;

// Writes nValue in decimal, without sign or leading zeros ("0" for zero), and a terminating zero
// into pszText, which holds AFX_DECIMAL_TEXT_SIZE characters. Answers the number of digits.
int AfxFormatDecimal(uint32_t nValue, char* pszText);

// A decimal number at the start of a text, scanned as the C runtime's number readers scan it.
struct AFX_DECIMAL_SCAN
{
    bool bNegative;      // a '-' came before the digits
    bool bDigits;        // at least one digit came
    uint64_t nMagnitude; // the digits' value; it stops growing once it is above the limit
};

// Skips white space as isspace sees it in the C locale (space, tab, line feed, vertical tab, form
// feed, carriage return) whatever the program's locale, takes an optional sign, then reads decimal
// digits up to the first other character. Leading zeros never count towards the limit. nLimit must
// stay below 2^59. Null counts as empty.
AFX_DECIMAL_SCAN AfxScanDecimal(const char* pszText, uint64_t nLimit);

// What "%u" reads from the start of pszText: false when no digit comes after the white space and
// the sign. A minus sign negates in unsigned arithmetic ("-1" is 4294967295), and a number beyond
// 32 bits reads as 0xFFFFFFFF, never as a value wrapped into range.
bool ReadUnsignedText(const char* pszText, uint32_t* pValue);
