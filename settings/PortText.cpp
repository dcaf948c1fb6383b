#include "settings/PortText.h"

#include <climits>

namespace
{

// White space as isspace sees it in the C locale, whatever the program's locale is.
bool IsCLocaleSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The magnitude of the leading digits, stopping to grow once it is past any int.
int64_t ReadMagnitude(const char* digits)
{
    constexpr int64_t kBeyondInt = int64_t{INT_MAX} + 2;
    int64_t magnitude = 0;
    for (; IsDigit(*digits); ++digits)
    {
        if (magnitude < kBeyondInt)
        {
            magnitude = magnitude * 10 + (*digits - '0');
        }
    }
    return magnitude;
}

int32_t SaturateToInt(int64_t value)
{
    if (value > INT_MAX)
    {
        return INT_MAX;
    }
    if (value < INT_MIN)
    {
        return INT_MIN;
    }
    return static_cast<int32_t>(value);
}

} // namespace

uint32_t ReadPortText(const char* text)
{
    if (text == nullptr)
    {
        return 0;
    }
    while (IsCLocaleSpace(*text))
    {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-')
    {
        negative = *text == '-';
        ++text;
    }
    const int64_t magnitude = ReadMagnitude(text);
    return static_cast<uint32_t>(SaturateToInt(negative ? -magnitude : magnitude));
}
