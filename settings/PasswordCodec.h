#pragma once

#include <cstdint>

// Scrambling of the stored proxy password. The password and its terminating zero are XORed with
// the low bytes of a LaggedXorRandom keystream seeded with the current time; the seed, XORed
// with the key, goes in front as 4 little-endian bytes; the whole is written as Text6. The game
// reads the same format with the same key, so none of this may change.

// The key for the stored proxy password, used for saving and loading alike.
constexpr uint32_t PROXY_PASSWD_KEY = 19870613;

// Scrambles the zero-terminated password (null counts as empty) with the seed taken from time().
// Returns 1 with *out set to a new zero-terminated text, or 0. On an empty password *out is left
// as it was; every other failure leaves it null. Release the text with FreePasswordBuffer.
int ScramblePassword(const char* password, uint32_t key, char** out);

// ScramblePassword with the seed given instead of read from the clock.
int ScramblePasswordWithSeed(const char* password, uint32_t key, uint32_t seed, char** out);

// Unscrambles a text made by ScramblePassword (null counts as empty). Returns 1 with *out set to
// a new buffer holding the unscrambled bytes and one added zero, or 0. On an empty text *out is
// left as it was; every other failure leaves it null. There is no check value: a text of another
// key, or a damaged one, gives arbitrary bytes as long as it decodes to 5 bytes or more. Release
// the buffer with FreePasswordBuffer.
int UnscramblePassword(const char* text, uint32_t key, char** out);

// Releases a buffer from either operation; null is accepted.
void FreePasswordBuffer(void* buffer);
