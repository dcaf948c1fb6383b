// ReadPortText against the C runtime's own reading (strtoll in the C locale, clamped to the int
// range), which has no overflow to fear.
#include "FuzzSupport.h"

#include "settings/PortText.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = InputText(data, size);
    FUZZ_CHECK(ReadPortText(text.c_str()) == ReferencePort(text));
    return 0;
}
