#include "settings/Text6.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kSentinel = 0xBD;
constexpr char kAlphabet[] = "@ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_";

std::string Encode(const Bytes& bytes)
{
    std::vector<char> buffer(
        static_cast<size_t>(Text6EncodedSize(static_cast<int32_t>(bytes.size()))),
        static_cast<char>(kSentinel));
    const int32_t length = Text6Encode(bytes.data(), static_cast<int32_t>(bytes.size()),
                                       buffer.data(), static_cast<int32_t>(buffer.size()));
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(buffer.data()));
    return std::string(buffer.data(), static_cast<size_t>(length));
}

struct Decoded
{
    int32_t result;
    Bytes written; // everything up to the last byte that is not the sentinel
};

Decoded Decode(const char* text, int32_t limit)
{
    Bytes buffer(64, kSentinel);
    const int32_t result = Text6Decode(text, buffer.data(), limit);
    while (!buffer.empty() && buffer.back() == kSentinel)
    {
        buffer.pop_back();
    }
    return {result, buffer};
}

TEST(Text6Test, EncodesTheKnownExamples)
{
    struct Case
    {
        Bytes bytes;
        const char* text;
    };
    const Case cases[] = {
        {{0x61, 0x62, 0x63}, "gI1X"},
        {{0x61, 0x62}, "gIF"},
        {{0x61}, "gA"},
        {{0x61, 0x62, 0x63, 0x64}, "gI1XjA"},
        {{0xFF, 0xFF, 0xFF}, "____"},
        {{0x00}, "@@"},
        {{0x00, 0x00, 0x00}, "@@@@"},
        {{0xFF}, "_C"},
        {{0xFF, 0xFF}, "__O"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Encode(c.bytes), c.text);
    }
}

TEST(Text6Test, DecodesTheKnownExamples)
{
    struct Case
    {
        const char* text;
        Bytes bytes;
        int32_t result;
    };
    const Case cases[] = {
        {"gI1X", {0x61, 0x62, 0x63}, 3},
        {"gIF", {0x61, 0x62, 0x00}, 3},
        {"gA", {0x61, 0x00}, 2},
        {"gI1XjA", {0x61, 0x62, 0x63, 0x64, 0x00}, 5},
        {"____", {0xFF, 0xFF, 0xFF}, 3},
        // An invalid third or fourth character ends the decoding with the group's left-over bits.
        {"gI*X", {0x61, 0x02}, 2},
        {"gI1*", {0x61, 0x62, 0x03}, 3},
        {"gI*XgI1X", {0x61, 0x02}, 2},
        {"gI1XgI1*", {0x61, 0x62, 0x63, 0x61, 0x62, 0x03}, 6},
        {"gI\x80X", {0x61, 0x02}, 2},
        // An invalid first or second character ends it with nothing more.
        {"g*1X", {}, 0},
        {"*I1X", {}, 0},
        {"gI1X*", {0x61, 0x62, 0x63}, 3},
        {"gI1Xg*1X", {0x61, 0x62, 0x63}, 3},
        {"\xff"
         "I1X",
         {},
         0},
        // A lone final character is ignored.
        {"g", {}, 0},
        {"gI1Xj", {0x61, 0x62, 0x63}, 3},
        {"", {}, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        const Decoded decoded = Decode(c.text, 64);
        EXPECT_EQ(decoded.result, c.result);
        EXPECT_EQ(decoded.written, c.bytes);
    }
}

TEST(Text6Test, DecodeTreatsNullAsEmpty)
{
    uint8_t byte = kSentinel;
    EXPECT_EQ(Text6Decode(nullptr, &byte, 1), 0);
    EXPECT_EQ(byte, kSentinel);
}

// The limit is checked after each full byte only: reaching it gives 0, and the left-over byte of
// a short group is written without being counted against it.
TEST(Text6Test, DecodeLimitCountsFullBytesOnly)
{
    struct Case
    {
        const char* text;
        int32_t limit;
        int32_t result;
        Bytes bytes;
    };
    const Case cases[] = {
        {"gI1X", 1, 0, {0x61}},
        {"gI1X", 2, 0, {0x61, 0x62}},
        {"gI1X", 3, 0, {0x61, 0x62, 0x63}},
        {"gI1X", 4, 3, {0x61, 0x62, 0x63}},
        {"gI1XjA", 4, 0, {0x61, 0x62, 0x63, 0x64}},
        {"gI1XjA", 5, 5, {0x61, 0x62, 0x63, 0x64, 0x00}},
        {"gA", 1, 0, {0x61}},
        {"gA", 2, 2, {0x61, 0x00}},
        {"gIF", 2, 0, {0x61, 0x62}},
        {"gIF", 3, 3, {0x61, 0x62, 0x00}},
        // A limit that no count can equal does not stop the decoding.
        {"gI1XjA", 0, 5, {0x61, 0x62, 0x63, 0x64, 0x00}},
        {"gI1XjA", -1, 5, {0x61, 0x62, 0x63, 0x64, 0x00}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.text) + " limit " + std::to_string(c.limit));
        const Decoded decoded = Decode(c.text, c.limit);
        EXPECT_EQ(decoded.result, c.result);
        EXPECT_EQ(decoded.written, c.bytes);
    }
}

TEST(Text6Test, CharValueIsThePositionInTheAlphabetForEveryByte)
{
    for (int byte = 0; byte < 256; ++byte)
    {
        SCOPED_TRACE(byte);
        const char c = static_cast<char>(byte);
        const char* position = c == '\0' ? nullptr : std::strchr(kAlphabet, c);
        const int32_t expected =
            position == nullptr ? -1 : static_cast<int32_t>(position - kAlphabet);
        EXPECT_EQ(Text6CharValue(c), expected);
    }
    EXPECT_EQ(Text6CharValue('@'), 0);
    EXPECT_EQ(Text6CharValue('Z'), 26);
    EXPECT_EQ(Text6CharValue('a'), 27);
    EXPECT_EQ(Text6CharValue('0'), 53);
    EXPECT_EQ(Text6CharValue('_'), 63);
}

TEST(Text6Test, SizesFollowTheirFormulas)
{
    struct Case
    {
        int32_t n;
        int32_t encoded;
        int32_t decoded;
    };
    const Case cases[] = {
        {0, 3, 1},
        {1, 5, 2},
        {2, 6, 3},
        {3, 7, 3},
        {4, 9, 4},
        {5, 10, 5},
        {6, 11, 6},
        {9, 15, 8},
        {TEXT6_MAX_COUNT, 715827865, 402653173},
        // Far beyond any real count: no overflow, the encoded size saturates.
        {INT32_MAX, INT32_MAX, 1610612736},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(Text6EncodedSize(c.n), c.encoded);
        EXPECT_EQ(Text6DecodedSize(c.n), c.decoded);
    }
}

TEST(Text6Test, RoundTripGivesTheBytesAndAZeroForAShortLastGroup)
{
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
    {
        all[static_cast<size_t>(i)] = static_cast<uint8_t>(255 - i);
    }
    for (size_t count = 1; count <= all.size(); ++count)
    {
        SCOPED_TRACE(count);
        const Bytes bytes(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(count));
        const std::string text = Encode(bytes);
        EXPECT_EQ(text.size(), (4 * count + 2) / 3);

        Bytes expected = bytes;
        if (count % 3 != 0)
        {
            expected.push_back(0x00);
        }
        std::vector<uint8_t> buffer(expected.size() + 1, kSentinel);
        EXPECT_EQ(Text6Decode(text.c_str(), buffer.data(), 0),
                  static_cast<int32_t>(expected.size()));
        EXPECT_EQ(Bytes(buffer.begin(), buffer.end() - 1), expected);
        EXPECT_EQ(buffer.back(), kSentinel);
    }
}

// The size check asks for Text6EncodedSize bytes, more than the text needs, and refuses before
// writing anything.
TEST(Text6Test, EncodeIntoABufferOneByteShortFailsAndWritesNothing)
{
    const Bytes bytes = {0x61, 0x62, 0x63, 0x64, 0x65, 0x66};
    for (int32_t count = 1; count <= 6; ++count)
    {
        SCOPED_TRACE(count);
        const int32_t size = Text6EncodedSize(count) - 1;
        ASSERT_GT(size, (4 * count + 2) / 3) << "the text and its terminator would fit";
        std::vector<char> buffer(static_cast<size_t>(size), static_cast<char>(kSentinel));
        EXPECT_EQ(Text6Encode(bytes.data(), count, buffer.data(), size), 0);
        EXPECT_EQ(buffer,
                  std::vector<char>(static_cast<size_t>(size), static_cast<char>(kSentinel)));
    }
}

TEST(Text6Test, EncodeRefusesCountsOfZeroOrLessAndWritesNothing)
{
    const uint8_t byte = 0x61;
    for (const int32_t count : {0, -1, INT32_MIN, TEXT6_MAX_COUNT + 1})
    {
        SCOPED_TRACE(count);
        char buffer[8];
        std::memset(buffer, kSentinel, sizeof buffer);
        EXPECT_EQ(Text6Encode(&byte, count, buffer, INT32_MAX), 0);
        EXPECT_EQ(static_cast<uint8_t>(buffer[0]), kSentinel);
    }
}

} // namespace
