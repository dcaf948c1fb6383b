#include "settings/PortText.h"

#include "framework/DecimalText.h"

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

// The port field's own reading ("%u"), which shares the white space and sign scan with the port
// of the stored server text but refuses a text without digits and saturates at 32 bits instead.
TEST(PortTextTest, FieldReadsLikeScanfUnsigned)
{
    struct Case
    {
        const char* text;
        bool read;
        uint32_t value;
    };
    const Case cases[] = {
        {"8080", true, 8080},
        {"0", true, 0},
        {"65536", true, 65536},
        {"8080x", true, 8080},
        {"8 0", true, 8},
        // White space as in the C locale, then a sign; a minus negates in unsigned arithmetic.
        {"\t\n\v\f\r 42", true, 42},
        {"+80", true, 80},
        {"-0", true, 0},
        {"-1", true, 4294967295u},
        {"-80", true, 4294967216u},
        {"-4294967295", true, 1},
        // No digit after the white space and the sign: refused.
        {"", false, 0},
        {" ", false, 0},
        {"x80", false, 0},
        {"+-1", false, 0},
        {"- 1", false, 0},
        {" +", false, 0},
        {" "
         "80",
         false, 0},
        {""
         "80",
         false, 0},
        // Beyond 32 bits saturates, whatever the sign; it never wraps into range.
        {"4294967295", true, 4294967295u},
        {"4294967296", true, 4294967295u},
        {"4294967376", true, 4294967295u}, // 2^32 + 80 must not read as 80
        {"123456789012345678901234567890", true, 4294967295u},
        {"-4294967296", true, 4294967295u},
        {"-99999999999", true, 4294967295u},
        // Leading zeros do not count towards saturation.
        {"0000000000000000000000008080", true, 8080},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(ReadUnsignedText(c.text, &value), c.read);
        EXPECT_EQ(value, c.read ? c.value : 0xDEADBEEF) << "a refused text leaves the value";
    }
}

} // namespace
