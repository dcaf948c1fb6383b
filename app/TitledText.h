// Filling the product title into a resource text.
#pragma once

#include "framework/CString.h"

// Puts lpszTitle in place of the first "%s" of lpszFormat and turns "%%" into "%". Every other
// '%' sequence stays as it is: resource texts are never handed to a printf-style formatter, so a
// damaged string cannot make it read arguments that are not there.
CString SubstituteTitle(const char* lpszFormat, const char* lpszTitle);
