// Where a link label's text lies inside its window: the text is measured character by character
// (a double-byte character as one), and the client rectangle is narrowed to the measured box by
// the static's alignment. Only that box reacts to the pointer.
#pragma once

#include <windows.h>

// Measures cch bytes at pch as one run of text; a zero size when it cannot.
using LinkTextMeasure = SIZE (*)(void* pContext, const char* pch, int cch);
// Whether a byte starts a double-byte character.
using LinkLeadByteTest = BOOL(WINAPI*)(BYTE);

// The width W (the sum of the characters' widths) and height H (the tallest character) of
// pszText as one line. A lead byte and the byte after it are measured together; a lead byte that
// ends the text is measured alone, as a one-byte character: the control converts that lone byte
// on its own when it draws the text, so measuring it alone gives the width of what is drawn.
// Nothing past the terminating zero byte is read.
SIZE MeasureLinkText(const char* pszText, LinkTextMeasure pfnMeasure, void* pContext,
                     LinkLeadByteTest pfnIsLeadByte = &IsDBCSLeadByte);

// The measure for MeasureLinkText through a device context (pContext is the HDC), with the font
// that is selected into it.
SIZE MeasureWithDC(void* pContext, const char* pch, int cch);

// The client rectangle narrowed to a text of sizeText: horizontally by the static's type
// (SS_CENTER centres it, SS_RIGHT puts it at the right edge, every other type at the left),
// vertically centred with SS_CENTERIMAGE and at the top otherwise. A text wider or taller than
// the window keeps the window's full width or height.
RECT LinkTextBox(const RECT& rcClient, SIZE sizeText, DWORD dwStyle);
