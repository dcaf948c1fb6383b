#pragma once

#include <cstdint>

// Reads a port number the way the C runtime's atoi reads an int: leading white space (space, tab,
// line feed, vertical tab, form feed, carriage return), an optional sign, then decimal digits up to
// the first other character; no digits give 0. A number beyond the int range saturates to
// INT_MAX or INT_MIN, as the Windows runtime documents for atoi, instead of overflowing. The int is
// then taken as unsigned 32 bits, so "-1" gives 4294967295. Null counts as empty.
uint32_t ReadPortText(const char* text);
