#include "settings/PortText.h"

#include <gtest/gtest.h>

namespace
{

TEST(PortTextTest, ReadsLikeAtoiWithoutOverflow)
{
    struct Case
    {
        const char* text;
        uint32_t port;
    };
    const Case cases[] = {
        // The port parts of proxy server texts.
        {"8080", 8080},
        {"", 0},
        {"b:c", 0},
        {"8080x", 8080},
        {"0", 0},
        {"65535", 65535},
        {"65536", 65536},
        // White space as in the C locale, then a sign.
        {" 8080", 8080},
        {"\t\n\v\f\r 42", 42},
        {"+80", 80},
        {"-0", 0},
        {"-1", 4294967295u},
        {"-80", 4294967216u},
        {"8 0", 8},
        {"+-1", 0},
        {"- 1", 0},
        {" +", 0},
        {"0x10", 0},
        {"\xa0"
         "80",
         0},                     // no-break space in a single-byte code page
        {"\xa3\xb8\xa3\xb0", 0}, // full-width digits in code page 949
        {"\x1c"
         "80",
         0},
        // The int range saturates instead of overflowing.
        {"2147483647", 2147483647u},
        {"2147483648", 2147483647u},
        {"4294967295", 2147483647u},
        {"4294967376", 2147483647u}, // 2^32 + 80 must not wrap to 80
        {"99999999999", 2147483647u},
        {"123456789012345678901234567890", 2147483647u},
        {"-2147483647", 2147483649u},
        {"-2147483648", 2147483648u},
        {"-2147483649", 2147483648u},
        {"-99999999999", 2147483648u},
        // Leading zeros do not count towards overflow.
        {"0000000000000000000000008080", 8080},
        {"-000000000000000000000000001", 4294967295u},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadPortText(c.text), c.port);
    }
}

TEST(PortTextTest, NullReadsAsZero)
{
    EXPECT_EQ(ReadPortText(nullptr), 0u);
}

} // namespace
