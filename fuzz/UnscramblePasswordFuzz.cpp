// UnscramblePassword on any text: the output pointer follows the rules, a result is the decoded
// body XORed with the keystream of the header's seed, it ends in a zero inside its buffer, and
// FreePasswordBuffer takes it back.
#include "FuzzSupport.h"

#include "settings/LaggedXorRandom.h"
#include "settings/PasswordCodec.h"
#include "settings/Text6.h"

#include <vector>

namespace
{

char* const kUntouched = reinterpret_cast<char*>(uintptr_t{0xDEADBEEF});

std::vector<uint8_t> DecodeAll(const std::string& text)
{
    std::vector<uint8_t> raw(
        static_cast<size_t>(Text6DecodedSize(static_cast<int32_t>(text.size()) + 1)));
    raw.resize(static_cast<size_t>(Text6Decode(text.c_str(), raw.data(), 0)));
    return raw;
}

void CheckResult(const std::string& text, const char* result)
{
    const std::vector<uint8_t> raw = DecodeAll(text);
    FUZZ_CHECK(raw.size() >= 5);
    const size_t bodySize = raw.size() - 4;
    // The buffer holds the body and the added zero; reading its last byte shows its size.
    FUZZ_CHECK(result[bodySize] == '\0');

    const uint32_t seed = PROXY_PASSWD_KEY ^ (uint32_t{raw[0]} | uint32_t{raw[1]} << 8 |
                                              uint32_t{raw[2]} << 16 | uint32_t{raw[3]} << 24);
    LaggedXorRandom* generator = LaggedXorRandomCreate(seed);
    for (size_t i = 0; i < bodySize; ++i)
    {
        const auto expected = static_cast<uint8_t>(raw[4 + i] ^ LaggedXorRandomNext(generator));
        FUZZ_CHECK(static_cast<uint8_t>(result[i]) == expected);
    }
    LaggedXorRandomDestroy(generator);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text = InputText(data, size);
    char* out = kUntouched;
    const int returned = UnscramblePassword(text.c_str(), PROXY_PASSWD_KEY, &out);
    if (text.empty())
    {
        FUZZ_CHECK(returned == 0);
        FUZZ_CHECK(out == kUntouched);
        return 0;
    }
    FUZZ_CHECK(returned == 0 || returned == 1);
    FUZZ_CHECK((returned == 1) == (out != nullptr));
    if (returned == 1)
    {
        CheckResult(text, out);
    }
    else
    {
        FUZZ_CHECK(DecodeAll(text).size() < 5);
    }
    FreePasswordBuffer(out);
    return 0;
}
