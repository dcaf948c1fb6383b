// Throughput of the password codec on the host: Text6 encoding and decoding of one megabyte of
// bytes (MB/s counts the bytes, 10^6 to the MB, not the text), and whole scramble and unscramble
// operations on a proxy password of typical length (operations per second). Each figure is the
// best of several timed rounds of at least 0.2 s, so that a busy machine shows less. Prints:
//
//   text6-encode-mbs <x> text6-decode-mbs <x> scramble-per-s <x> unscramble-per-s <x>
#include "settings/PasswordCodec.h"
#include "settings/Text6.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
constexpr int32_t kDataBytes = 1000000;
constexpr int kRounds = 5;
constexpr double kMinRoundSeconds = 0.2;
const char kPassword[] = "proxy-pass-12"; // 13 characters

// What the timed work computed, printed at the end so that none of it can be left out.
uint32_t g_sink = 0;

// Calls step(count) for at least kMinRoundSeconds per round and answers the best rate, in
// calls per second.
template <typename Step> double BestCallsPerSecond(Step step)
{
    using Clock = std::chrono::steady_clock;
    double best = 0;
    for (int round = 0; round < kRounds; ++round)
    {
        long calls = 0;
        const Clock::time_point start = Clock::now();
        double seconds = 0;
        do
        {
            step();
            ++calls;
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        } while (seconds < kMinRoundSeconds);
        if (calls / seconds > best)
            best = calls / seconds;
    }
    return best;
}

std::vector<uint8_t> RandomBytes(int32_t count)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    uint32_t x = 2463534242u; // xorshift32: the same bytes every run
    for (uint8_t& b : bytes)
    {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = static_cast<uint8_t>(x);
    }
    return bytes;
}
} // namespace

int main()
{
    const std::vector<uint8_t> data = RandomBytes(kDataBytes);
    std::vector<char> text(static_cast<size_t>(Text6EncodedSize(kDataBytes)));
    std::vector<uint8_t> decoded(
        static_cast<size_t>(Text6DecodedSize(Text6EncodedSize(kDataBytes))));

    const double encodesPerSecond = BestCallsPerSecond(
        [&]
        {
            g_sink += static_cast<uint32_t>(Text6Encode(data.data(), kDataBytes, text.data(),
                                                        static_cast<int32_t>(text.size())));
        });
    const double decodesPerSecond = BestCallsPerSecond(
        [&] { g_sink += static_cast<uint32_t>(Text6Decode(text.data(), decoded.data(), 0)); });

    uint32_t seed = 1;
    const double scramblesPerSecond = BestCallsPerSecond(
        [&]
        {
            char* out = nullptr;
            g_sink += static_cast<uint32_t>(
                ScramblePasswordWithSeed(kPassword, PROXY_PASSWD_KEY, seed++, &out));
            FreePasswordBuffer(out);
        });

    char* scrambled = nullptr;
    if (!ScramblePasswordWithSeed(kPassword, PROXY_PASSWD_KEY, 20240101u, &scrambled))
    {
        std::fprintf(stderr, "cannot scramble the sample password\n");
        return 1;
    }
    const double unscramblesPerSecond = BestCallsPerSecond(
        [&]
        {
            char* out = nullptr;
            g_sink += static_cast<uint32_t>(UnscramblePassword(scrambled, PROXY_PASSWD_KEY, &out));
            FreePasswordBuffer(out);
        });
    FreePasswordBuffer(scrambled);

    const double mb = kDataBytes / 1e6;
    std::printf("text6-encode-mbs %.1f text6-decode-mbs %.1f scramble-per-s %.0f "
                "unscramble-per-s %.0f\n",
                encodesPerSecond * mb, decodesPerSecond * mb, scramblesPerSecond,
                unscramblesPerSecond);
    std::fprintf(stderr, "(check %u)\n", g_sink);
    return 0;
}
