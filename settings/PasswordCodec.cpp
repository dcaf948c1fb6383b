#include "settings/PasswordCodec.h"

#include "settings/LaggedXorRandom.h"
#include "settings/Text6.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace
{

constexpr int32_t kHeaderSize = 4;

// The longest password whose raw string the text form still accepts. Only a 64-bit build could
// ever be handed one longer; it is refused like an allocation the heap turned down.
constexpr size_t kMaxPasswordLength = TEXT6_MAX_COUNT - kHeaderSize - 1;
// The longest text whose length plus one still fits the decoder's 32-bit limit.
constexpr size_t kMaxTextLength = INT32_MAX - 1;

void StoreLittleEndian(uint32_t value, uint8_t* bytes)
{
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
    bytes[2] = static_cast<uint8_t>(value >> 16);
    bytes[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t LoadLittleEndian(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
           (uint32_t{bytes[3]} << 24);
}

// XORs count bytes with the low bytes of the keystream of seed, one output per byte, and so
// scrambles and unscrambles alike. False when the generator's state cannot be had.
bool ApplyKeystream(uint32_t seed, uint8_t* bytes, int32_t count)
{
    LaggedXorRandom* generator = LaggedXorRandomCreate(seed);
    if (generator == nullptr)
    {
        return false;
    }
    for (int32_t i = 0; i < count; ++i)
    {
        bytes[i] ^= static_cast<uint8_t>(LaggedXorRandomNext(generator));
    }
    LaggedXorRandomDestroy(generator);
    return true;
}

size_t TextLength(const char* text)
{
    return text == nullptr ? 0 : std::strlen(text);
}

} // namespace

int ScramblePassword(const char* password, uint32_t key, char** out)
{
    const auto seed = static_cast<uint32_t>(std::time(nullptr));
    return ScramblePasswordWithSeed(password, key, seed, out);
}

int ScramblePasswordWithSeed(const char* password, uint32_t key, uint32_t seed, char** out)
{
    const size_t length = TextLength(password);
    if (length == 0 || out == nullptr)
    {
        return 0;
    }
    *out = nullptr;
    if (length > kMaxPasswordLength)
    {
        return 0;
    }
    // The password travels with its terminating zero.
    const auto bodySize = static_cast<int32_t>(length + 1);
    const int32_t rawSize = kHeaderSize + bodySize;

    auto* raw = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(rawSize)));
    if (raw == nullptr)
    {
        return 0;
    }
    StoreLittleEndian(seed ^ key, raw);
    std::memcpy(raw + kHeaderSize, password, static_cast<size_t>(bodySize));
    if (!ApplyKeystream(seed, raw + kHeaderSize, bodySize))
    {
        std::free(raw);
        return 0;
    }

    const int32_t textSize = Text6EncodedSize(rawSize);
    *out = static_cast<char*>(std::malloc(static_cast<size_t>(textSize)));
    if (*out == nullptr)
    {
        std::free(raw);
        return 0;
    }
    const int32_t written = Text6Encode(raw, rawSize, *out, textSize);
    std::free(raw);
    if (written == 0)
    {
        std::free(*out);
        *out = nullptr;
        return 0;
    }
    return 1;
}

int UnscramblePassword(const char* text, uint32_t key, char** out)
{
    const size_t length = TextLength(text);
    if (length == 0 || out == nullptr)
    {
        return 0;
    }
    *out = nullptr;
    if (length > kMaxTextLength)
    {
        return 0;
    }
    // The decoder's count never reaches the text's length plus one, so this limit never stops it.
    const auto limit = static_cast<int32_t>(length + 1);
    auto* raw =
        static_cast<uint8_t*>(std::malloc(static_cast<size_t>(Text6DecodedSize(limit)) + 1));
    if (raw == nullptr)
    {
        return 0;
    }
    const int32_t rawSize = Text6Decode(text, raw, limit);
    // Nothing to unscramble unless something follows the header.
    if (rawSize <= kHeaderSize)
    {
        std::free(raw);
        return 0;
    }
    const int32_t bodySize = rawSize - kHeaderSize;
    const uint32_t seed = key ^ LoadLittleEndian(raw);
    if (!ApplyKeystream(seed, raw + kHeaderSize, bodySize))
    {
        std::free(raw);
        return 0;
    }

    *out = static_cast<char*>(std::malloc(static_cast<size_t>(bodySize) + 1));
    if (*out == nullptr)
    {
        std::free(raw);
        return 0;
    }
    std::memcpy(*out, raw + kHeaderSize, static_cast<size_t>(bodySize));
    (*out)[bodySize] = '\0';
    std::free(raw);
    return 1;
}

void FreePasswordBuffer(void* buffer)
{
    std::free(buffer);
}
