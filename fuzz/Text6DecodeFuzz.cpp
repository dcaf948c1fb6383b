// Text6Decode on any text with any limit, into a buffer of exactly the size the limit (or, without
// one, the text) promises, so that a write past it shows. Then the input's bytes are encoded and
// decoded again and must come back.
#include "FuzzSupport.h"

#include "settings/Text6.h"

#include <vector>

namespace
{

// The most bytes a text of this length can decode to, left-over byte included.
int32_t MostDecodedBytes(size_t length)
{
    return static_cast<int32_t>(3 * (length / 4) + (length % 4 == 2 ? 2 : length % 4 == 3 ? 3 : 0));
}

void DecodeWithLimit(const uint8_t* data, size_t size)
{
    // The first byte picks the limit, from -128 to 127; 0 and below mean none.
    const int32_t limit = static_cast<int8_t>(data[0]);
    const std::string text = InputText(data + 1, size - 1);
    const int32_t most = MostDecodedBytes(text.size());
    FUZZ_CHECK(most <= Text6DecodedSize(static_cast<int32_t>(text.size()) + 1));

    const int32_t capacity = limit > 0 ? limit : most;
    auto* out = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(capacity)));
    const int32_t count = Text6Decode(text.c_str(), out, limit);
    FUZZ_CHECK(count >= 0);
    FUZZ_CHECK(count <= most);
    if (limit > 0)
    {
        FUZZ_CHECK(count <= limit);
    }
    std::free(out);
}

void EncodeAndDecode(const uint8_t* data, size_t size)
{
    const auto count = static_cast<int32_t>(size);
    const int32_t textSize = Text6EncodedSize(count);
    std::vector<char> text(static_cast<size_t>(textSize));
    const int32_t length = Text6Encode(data, count, text.data(), textSize);
    FUZZ_CHECK(length == (4 * count + 2) / 3);
    FUZZ_CHECK(text[static_cast<size_t>(length)] == '\0');
    FUZZ_CHECK(Text6Encode(data, count, text.data(), textSize - 1) == 0);

    const bool extraZero = count % 3 != 0;
    std::vector<uint8_t> decoded(static_cast<size_t>(count + (extraZero ? 1 : 0)));
    FUZZ_CHECK(Text6Decode(text.data(), decoded.data(), 0) == static_cast<int32_t>(decoded.size()));
    FUZZ_CHECK(std::memcmp(decoded.data(), data, size) == 0);
    if (extraZero)
    {
        FUZZ_CHECK(decoded.back() == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    DecodeWithLimit(data, size);
    EncodeAndDecode(data, size);
    return 0;
}
