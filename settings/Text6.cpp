#include "settings/Text6.h"

#include <cstdint>

namespace
{

constexpr char kAlphabet[] = "@ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";
static_assert(sizeof(kAlphabet) == 65, "64 characters and the terminator");

// Sizes are computed in 64 bits so that no count a caller can pass overflows.
int64_t EncodedSize64(int32_t n)
{
    return (4 * int64_t{n} + 8) / 3 + 1;
}

char* EncodeFullGroup(const uint8_t* b, char* out)
{
    const uint32_t v = uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16);
    *out++ = kAlphabet[v & 63];
    *out++ = kAlphabet[(v >> 6) & 63];
    *out++ = kAlphabet[(v >> 12) & 63];
    *out++ = kAlphabet[v >> 18];
    return out;
}

char* EncodeTail(const uint8_t* b, int32_t remaining, char* out)
{
    if (remaining == 1)
    {
        *out++ = kAlphabet[b[0] & 63];
        *out++ = kAlphabet[b[0] >> 6];
    }
    else if (remaining == 2)
    {
        *out++ = kAlphabet[b[0] & 63];
        *out++ = kAlphabet[(b[0] >> 6) + 4 * (b[1] & 15)];
        *out++ = kAlphabet[b[1] >> 4];
    }
    return out;
}

// Reads one character of a group; the end of the text is not consumed and reads as invalid.
int32_t ReadChar(const char*& text)
{
    if (*text == '\0')
    {
        return -1;
    }
    return Text6CharValue(*text++);
}

} // namespace

int32_t Text6CharValue(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (u == '@')
    {
        return 0;
    }
    if (u >= 'A' && u <= 'Z')
    {
        return u - 'A' + 1;
    }
    if (u >= 'a' && u <= 'z')
    {
        return u - 'a' + 27;
    }
    if (u >= '0' && u <= '9')
    {
        return u - '0' + 53;
    }
    if (u == '_')
    {
        return 63;
    }
    return -1;
}

int32_t Text6EncodedSize(int32_t n)
{
    const int64_t size = EncodedSize64(n);
    return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
}

int32_t Text6DecodedSize(int32_t n)
{
    return static_cast<int32_t>((3 * int64_t{n} + 6) / 4);
}

int32_t Text6Encode(const uint8_t* data, int32_t count, char* out, int32_t size)
{
    if (count <= 0 || count > TEXT6_MAX_COUNT || EncodedSize64(count) > size)
    {
        return 0;
    }
    char* const start = out;
    int32_t i = 0;
    for (; count - i >= 3; i += 3)
    {
        out = EncodeFullGroup(data + i, out);
    }
    out = EncodeTail(data + i, count - i, out);
    *out = '\0';
    return static_cast<int32_t>(out - start);
}

int32_t Text6Decode(const char* text, uint8_t* out, int32_t limit)
{
    if (text == nullptr || *text == '\0')
    {
        return 0;
    }
    int32_t count = 0;
    for (;;)
    {
        // A group always starts inside the text; its other characters are read only while the
        // text goes on, and a missing one counts as invalid.
        const int32_t a = Text6CharValue(*text++);
        const int32_t b = ReadChar(text);
        const int32_t d = ReadChar(text);
        const int32_t e = ReadChar(text);
        if (a < 0 || b < 0)
        {
            return count;
        }
        out[count++] = static_cast<uint8_t>((a + 64 * b) & 255);
        if (count == limit)
        {
            return 0;
        }
        if (d < 0)
        {
            // The group's left-over bits, beyond the limit's reckoning.
            out[count++] = static_cast<uint8_t>((b >> 2) & 15);
            return count;
        }
        out[count++] = static_cast<uint8_t>(((b >> 2) + 16 * d) & 255);
        if (count == limit)
        {
            return 0;
        }
        if (e < 0)
        {
            out[count++] = static_cast<uint8_t>((d >> 4) & 3);
            return count;
        }
        out[count++] = static_cast<uint8_t>(((d >> 4) + 4 * e) & 255);
        if (count == limit)
        {
            return 0;
        }
        if (*text == '\0')
        {
            return count;
        }
    }
}
