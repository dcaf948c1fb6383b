// Any password scrambled with any seed and key has the stored text's length and alphabet and
// unscrambles with the same key to itself.
#include "FuzzSupport.h"

#include "settings/PasswordCodec.h"
#include "settings/Text6.h"

namespace
{

char* const kUntouched = reinterpret_cast<char*>(uintptr_t{0xDEADBEEF});

uint32_t ReadWord(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

bool AllInAlphabet(const char* text)
{
    for (; *text != '\0'; ++text)
    {
        if (Text6CharValue(*text) < 0)
        {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Seed, key, then the password.
    if (size < 8)
    {
        return 0;
    }
    const uint32_t seed = ReadWord(data);
    const uint32_t key = ReadWord(data + 4);
    const std::string password = InputText(data + 8, size - 8);

    char* text = kUntouched;
    const int scrambled = ScramblePasswordWithSeed(password.c_str(), key, seed, &text);
    if (password.empty())
    {
        FUZZ_CHECK(scrambled == 0);
        FUZZ_CHECK(text == kUntouched);
        return 0;
    }
    FUZZ_CHECK(scrambled == 1);
    FUZZ_CHECK(std::strlen(text) == (4 * (password.size() + 5) + 2) / 3);
    FUZZ_CHECK(AllInAlphabet(text));

    char* result = kUntouched;
    FUZZ_CHECK(UnscramblePassword(text, key, &result) == 1);
    FUZZ_CHECK(std::strcmp(result, password.c_str()) == 0);
    FreePasswordBuffer(result);
    FreePasswordBuffer(text);
    return 0;
}
