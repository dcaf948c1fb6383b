#pragma once

#include <cstdint>

// A 6-bit text form for bytes: four characters from a 64-character alphabet per three bytes, the
// low bits first, no filler and no separator. The stored proxy password is written in it.

// Counts above this are refused by Text6Encode; up to it every size below fits in 32 bits.
constexpr int32_t TEXT6_MAX_COUNT = 0x1FFFFFF0;

// Writes count bytes as text with a terminating zero into out, which holds size bytes. Returns the
// number of characters, or 0 (writing nothing) when count is not positive, is above
// TEXT6_MAX_COUNT, or Text6EncodedSize(count) exceeds size.
int32_t Text6Encode(const uint8_t* data, int32_t count, char* out, int32_t size);

// Reads the zero-terminated text (null counts as empty) group by group into out and returns the
// number of bytes counted. Decoding stops at the first group whose first or second character is
// invalid; a group cut short (by the end or by an invalid third or fourth character) adds one
// more byte of its left-over bits, written but not counted against limit, and ends the decoding.
// Returns 0 when the count reaches limit after a full byte; a limit of 0 or less never does. out
// must hold limit bytes (or all the text can give, when limit is 0 or less).
int32_t Text6Decode(const char* text, uint8_t* out, int32_t limit);

// The value 0 to 63 of an alphabet character, -1 for every other byte.
int32_t Text6CharValue(char c);

// (4n + 8) / 3 + 1: a buffer size that always holds the text of n bytes and its terminator.
// Saturates at INT32_MAX for counts far above TEXT6_MAX_COUNT.
int32_t Text6EncodedSize(int32_t n);

// (3n + 6) / 4: with n the text's length plus one, a buffer size that holds what it decodes to.
int32_t Text6DecodedSize(int32_t n);
