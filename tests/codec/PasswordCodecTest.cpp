#include "settings/PasswordCodec.h"

#include "settings/LaggedXorRandom.h"
#include "settings/Text6.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kSeed = 12345;
// A pointer value that no allocation returns, to show that an output pointer was left as it was.
char* const kUntouched = reinterpret_cast<char*>(uintptr_t{0xDEADBEEF});

// The owned result of one codec call, released with FreePasswordBuffer as the program releases
// it. The host build runs these tests under LeakSanitizer: an output that FreePasswordBuffer does
// not give back fails the program.
struct Result
{
    int returned = -1;
    char* out = kUntouched;

    Result() = default;
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    ~Result()
    {
        if (out != kUntouched)
        {
            FreePasswordBuffer(out);
        }
    }
};

void Scramble(const char* password, uint32_t key, uint32_t seed, Result& result)
{
    result.returned = ScramblePasswordWithSeed(password, key, seed, &result.out);
}

void Unscramble(const char* text, uint32_t key, Result& result)
{
    result.returned = UnscramblePassword(text, key, &result.out);
}

std::string ScrambledText(const char* password, uint32_t key, uint32_t seed)
{
    Result result;
    Scramble(password, key, seed, result);
    EXPECT_EQ(result.returned, 1);
    return result.out == nullptr ? std::string() : std::string(result.out);
}

Bytes DecodeText(const std::string& text)
{
    Bytes raw(static_cast<size_t>(Text6DecodedSize(static_cast<int32_t>(text.size()) + 1)));
    const int32_t count = Text6Decode(text.c_str(), raw.data(), 0);
    raw.resize(static_cast<size_t>(count));
    return raw;
}

uint32_t HeaderSeed(const std::string& text, uint32_t key)
{
    const Bytes raw = DecodeText(text);
    return key ^ (uint32_t{raw[0]} | uint32_t{raw[1]} << 8 | uint32_t{raw[2]} << 16 |
                  uint32_t{raw[3]} << 24);
}

uint8_t KeystreamByte(uint32_t seed, int number)
{
    LaggedXorRandom* generator = LaggedXorRandomCreate(seed);
    uint32_t output = 0;
    for (int i = 0; i < number; ++i)
    {
        output = LaggedXorRandomNext(generator);
    }
    LaggedXorRandomDestroy(generator);
    return static_cast<uint8_t>(output);
}

// The format the game reads: seed XOR key as 4 little-endian bytes, then the password and its zero
// XORed with the low bytes of outputs 1, 2, ... of the generator seeded with the seed.
TEST(PasswordCodecTest, ScrambledTextHasTheStoredFormat)
{
    const uint32_t header = kSeed ^ PROXY_PASSWD_KEY;
    const Bytes raw = {static_cast<uint8_t>(header),
                       static_cast<uint8_t>(header >> 8),
                       static_cast<uint8_t>(header >> 16),
                       static_cast<uint8_t>(header >> 24),
                       'a' ^ 198,
                       0x00 ^ 215};
    char expected[16];
    ASSERT_EQ(Text6Encode(raw.data(), 6, expected, sizeof expected), 8);

    EXPECT_EQ(ScrambledText("a", PROXY_PASSWD_KEY, kSeed), expected);
    EXPECT_EQ(ScrambledText("a", PROXY_PASSWD_KEY, kSeed), "rNvKAb50");
    EXPECT_EQ(ScrambledText("password", PROXY_PASSWD_KEY, kSeed), "rNvKAXqs@JAiaT3nN@");
}

TEST(PasswordCodecTest, TextLengthIsFourThirdsOfTheRawStringRoundedUp)
{
    EXPECT_EQ(ScrambledText("a", PROXY_PASSWD_KEY, kSeed).size(), 8u);
    EXPECT_EQ(ScrambledText("12345678", PROXY_PASSWD_KEY, kSeed).size(), 18u);
    std::string password;
    for (size_t length = 1; length <= 40; ++length)
    {
        SCOPED_TRACE(length);
        password += static_cast<char>('a' + length % 26);
        EXPECT_EQ(ScrambledText(password.c_str(), PROXY_PASSWD_KEY, kSeed).size(),
                  (4 * (length + 5) + 2) / 3);
    }
}

TEST(PasswordCodecTest, UnscramblingGivesThePasswordBack)
{
    const char* const passwords[] = {
        "a",
        "password",
        "p@ss w0rd:8080!",
        "\x01\x1f\x7f",
        "\x80\x81\xa0\xfe\xff",
        "\xc7\xd1\xb1\xb9\xbe\xee",         // Korean "country language" in code page 949
        "\xba\xf1\xb9\xd0\xb9\xf8\xc8\xa3", // Korean "password" in code page 949
        "user\xc7\xd1:\xb1\xb9"
        "2024",                             // mixed, a ':' between double-byte characters
        "\xa3\xd0\xa3\xe1\xa3\xf3\xa3\xf3", // full-width letters
    };
    const uint32_t seeds[] = {0, 1, kSeed, PROXY_PASSWD_KEY, 0x7FFFFFFF, 0xFFFFFFFF};
    for (const char* password : passwords)
    {
        for (const uint32_t seed : seeds)
        {
            SCOPED_TRACE(::testing::Message()
                         << "seed " << seed << ", length " << std::strlen(password));
            const std::string text = ScrambledText(password, PROXY_PASSWD_KEY, seed);
            Result result;
            Unscramble(text.c_str(), PROXY_PASSWD_KEY, result);
            ASSERT_EQ(result.returned, 1);
            ASSERT_NE(result.out, nullptr);
            EXPECT_STREQ(result.out, password);
        }
    }
}

TEST(PasswordCodecTest, LongPasswordRoundTrips)
{
    std::string password;
    for (int i = 0; i < 2000; ++i)
    {
        password += static_cast<char>(1 + i % 255); // every non-zero byte, past a generator refresh
    }
    const std::string text = ScrambledText(password.c_str(), PROXY_PASSWD_KEY, kSeed);
    Result result;
    Unscramble(text.c_str(), PROXY_PASSWD_KEY, result);
    ASSERT_EQ(result.returned, 1);
    EXPECT_EQ(std::string(result.out), password);
}

// The result holds the password, its zero and, when the raw string's length is not a multiple of
// 3, the decoder's extra zero XORed with the next keystream byte, then the added zero.
TEST(PasswordCodecTest, ResultKeepsTheBytesAfterThePassword)
{
    for (const char* password : {"abcd", "abcde", "abcdef"})
    {
        const size_t length = std::strlen(password);
        SCOPED_TRACE(length);
        const std::string text = ScrambledText(password, PROXY_PASSWD_KEY, kSeed);
        Result result;
        Unscramble(text.c_str(), PROXY_PASSWD_KEY, result);
        ASSERT_EQ(result.returned, 1);
        EXPECT_STREQ(result.out, password);
        EXPECT_EQ(result.out[length], '\0');
        if ((length + 5) % 3 != 0)
        {
            EXPECT_EQ(static_cast<uint8_t>(result.out[length + 1]),
                      KeystreamByte(kSeed, static_cast<int>(length) + 2));
            EXPECT_EQ(result.out[length + 2], '\0');
        }
    }
}

TEST(PasswordCodecTest, SameSecondGivesTheSameTextAnotherSecondADifferentOne)
{
    const std::string first = ScrambledText("secret", PROXY_PASSWD_KEY, 1700000000);
    const std::string again = ScrambledText("secret", PROXY_PASSWD_KEY, 1700000000);
    const std::string later = ScrambledText("secret", PROXY_PASSWD_KEY, 1700000001);
    EXPECT_EQ(first, again);
    EXPECT_NE(first, later);
    for (const std::string& text : {first, later})
    {
        SCOPED_TRACE(text);
        Result result;
        Unscramble(text.c_str(), PROXY_PASSWD_KEY, result);
        ASSERT_EQ(result.returned, 1);
        EXPECT_STREQ(result.out, "secret");
    }
}

TEST(PasswordCodecTest, ScramblePasswordTakesTheSeedFromTheClock)
{
    const auto before = static_cast<uint32_t>(std::time(nullptr));
    Result scrambled;
    scrambled.returned = ScramblePassword("secret", PROXY_PASSWD_KEY, &scrambled.out);
    const auto after = static_cast<uint32_t>(std::time(nullptr));
    ASSERT_EQ(scrambled.returned, 1);

    const uint32_t seed = HeaderSeed(scrambled.out, PROXY_PASSWD_KEY);
    EXPECT_GE(seed, before);
    EXPECT_LE(seed, after);
    EXPECT_EQ(std::string(scrambled.out), ScrambledText("secret", PROXY_PASSWD_KEY, seed));
}

// There is no check value: another key only gives another seed, and so other bytes.
TEST(PasswordCodecTest, WrongKeyYieldsOtherBytesNotAFailure)
{
    const std::string text = ScrambledText("password", PROXY_PASSWD_KEY, kSeed);
    Result result;
    Unscramble(text.c_str(), PROXY_PASSWD_KEY + 1, result);
    ASSERT_EQ(result.returned, 1);
    ASSERT_NE(result.out, nullptr);
    EXPECT_NE(std::memcmp(result.out, "password", 9), 0);
}

TEST(PasswordCodecTest, TextsThatDecodeToTheHeaderOrLessFail)
{
    const std::string valid = ScrambledText("a", PROXY_PASSWD_KEY, kSeed); // "rNvKAb50"
    const std::string cases[] = {
        // Fewer than 6 characters decode to at most 3 bytes.
        valid.substr(0, 1),
        valid.substr(0, 2),
        valid.substr(0, 3),
        valid.substr(0, 4),
        valid.substr(0, 5),
        // An invalid character early in the text ends the decoding there.
        "*NvKAb50",
        "rN\x80KAb50",
        "r*vKAb50",
        "rN*KAb50",
        "rNvK*b50",
        "rNvKA*50",
        " rNvKAb50",
    };
    for (const std::string& text : cases)
    {
        SCOPED_TRACE(text);
        Result result;
        Unscramble(text.c_str(), PROXY_PASSWD_KEY, result);
        EXPECT_EQ(result.returned, 0);
        EXPECT_EQ(result.out, nullptr);
    }
}

TEST(PasswordCodecTest, DamagedTextsOfFiveBytesOrMoreUnscrambleToSomething)
{
    // Six valid characters decode to 5 bytes; an invalid last character still leaves 6.
    for (const char* text : {"@@@@@@", "rNvKAb", "rNvKAb5*", "rNvKAb50*junk"})
    {
        SCOPED_TRACE(text);
        Result result;
        Unscramble(text, PROXY_PASSWD_KEY, result);
        EXPECT_EQ(result.returned, 1);
        EXPECT_NE(result.out, nullptr);
    }
}

TEST(PasswordCodecTest, EmptyInputFailsAndLeavesTheOutputPointerAlone)
{
    for (const char* input : {static_cast<const char*>(nullptr), ""})
    {
        SCOPED_TRACE(input == nullptr ? "null" : "empty");
        Result scrambled;
        Scramble(input, PROXY_PASSWD_KEY, kSeed, scrambled);
        EXPECT_EQ(scrambled.returned, 0);
        EXPECT_EQ(scrambled.out, kUntouched);

        Result timed;
        timed.returned = ScramblePassword(input, PROXY_PASSWD_KEY, &timed.out);
        EXPECT_EQ(timed.returned, 0);
        EXPECT_EQ(timed.out, kUntouched);

        Result unscrambled;
        Unscramble(input, PROXY_PASSWD_KEY, unscrambled);
        EXPECT_EQ(unscrambled.returned, 0);
        EXPECT_EQ(unscrambled.out, kUntouched);
    }
}

} // namespace
