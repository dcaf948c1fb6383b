#include "settings/PortText.h"

#include "framework/DecimalText.h"

#include <climits>

uint32_t ReadPortText(const char* text)
{
    if (text == nullptr)
    {
        return 0;
    }
    // One past the largest magnitude an int can take: anything above saturates just the same.
    const AFX_DECIMAL_SCAN scan = AfxScanDecimal(text, uint64_t{INT_MAX} + 1);
    const auto magnitude = static_cast<int64_t>(scan.nMagnitude);
    const int64_t value = scan.bNegative ? -magnitude : magnitude;
    if (value > INT_MAX)
    {
        return static_cast<uint32_t>(INT_MAX);
    }
    if (value < INT_MIN)
    {
        return static_cast<uint32_t>(INT_MIN);
    }
    return static_cast<uint32_t>(static_cast<int32_t>(value));
}
