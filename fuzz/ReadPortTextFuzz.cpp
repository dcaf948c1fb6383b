// The two readings of a port against the C runtime's own, which has no overflow to fear:
// ReadPortText against strtoll in the C locale clamped to the int range, and the port field's
// ReadUnsignedText against strtoull, saturated at 32 bits. Both share one white space and sign
// scan.
#include "FuzzSupport.h"

#include "framework/DecimalText.h"
#include "settings/PortText.h"

#include <cerrno>
#include <climits>

namespace
{

uint32_t ReferencePort(const std::string& text)
{
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
    {
        value = INT_MAX;
    }
    if (value < INT_MIN)
    {
        value = INT_MIN;
    }
    return static_cast<uint32_t>(static_cast<int32_t>(value));
}

// What "%u" reads: nothing without a digit; past 32 bits of magnitude 0xFFFFFFFF whatever the sign;
// otherwise the magnitude, negated in unsigned arithmetic after a minus sign.
bool ReferenceUnsigned(const std::string& text, uint32_t* value)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const unsigned long long read = std::strtoull(start, &end, 10);
    if (end == start)
    {
        return false;
    }
    const char* sign = start + std::strspn(start, " \t\n\v\f\r");
    const bool negative = *sign == '-';
    // strtoull negates what it read after a minus sign; undo that to get the magnitude.
    const unsigned long long magnitude = negative ? 0ull - read : read;
    if (errno == ERANGE || magnitude > 0xFFFFFFFFull)
    {
        *value = 0xFFFFFFFFu;
    }
    else
    {
        const auto low = static_cast<uint32_t>(magnitude);
        *value = negative ? 0u - low : low;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = InputText(data, size);
    FUZZ_CHECK(ReadPortText(text.c_str()) == ReferencePort(text));

    uint32_t value = 0xDEADBEEF;
    uint32_t expected = 0xDEADBEEF;
    const bool read = ReadUnsignedText(text.c_str(), &value);
    FUZZ_CHECK(read == ReferenceUnsigned(text, &expected));
    FUZZ_CHECK(value == expected);
    return 0;
}
