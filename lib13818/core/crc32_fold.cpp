// CRC-32 by carry-less multiplication: the message, as a polynomial over GF(2), is folded
// 64 bytes a step into four 128-bit remainders (congruent modulo the CRC polynomial),
// which are then combined and reduced to 32 bits by Barrett reduction. Compiled for any
// x86-64; only these functions use PCLMULQDQ and SSE4.1, and crc32() calls them only
// where the processor has them.

#include "lib13818/core/crc32.h"

#if defined(__x86_64__)
#include <immintrin.h>
#define KESTREL_CLMUL __attribute__((target("pclmul,sse4.1")))
#endif

namespace lib13818 {

#if defined(__x86_64__)

namespace {

constexpr std::uint64_t polynomial = 0x104C11DB7u;  // with its x^32 term

// x^n mod P.
constexpr std::uint64_t x_pow_mod(unsigned n) {
    std::uint64_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & (std::uint64_t{1} << 32)) r ^= polynomial;
    }
    return r;
}

// x^64 div P, the Barrett constant.
constexpr std::uint64_t x64_div_p() {
    std::uint64_t quotient = 0;
    std::uint64_t rem = 0;
    for (int bit = 64; bit >= 0; --bit) {
        rem = (rem << 1) | (bit == 64 ? 1 : 0);
        quotient <<= 1;
        if (rem & (std::uint64_t{1} << 32)) {
            rem ^= polynomial;
            quotient |= 1;
        }
    }
    return quotient;
}

// Folding a 128-bit remainder forward by `bits`: its high half is multiplied by
// x^(bits+64) mod P, its low half by x^bits mod P.
template <unsigned bits>
KESTREL_CLMUL __m128i fold_constants() {
    static constexpr std::uint64_t high_half = x_pow_mod(bits + 64), low_half = x_pow_mod(bits);
    return _mm_set_epi64x(static_cast<long long>(high_half), static_cast<long long>(low_half));
}

KESTREL_CLMUL __m128i fold(__m128i x, __m128i constants, __m128i next) {
    return _mm_xor_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(x, constants, 0x11), _mm_clmulepi64_si128(x, constants, 0x00)),
        next);
}

// 16 message bytes with the first byte's top bit as the highest coefficient.
KESTREL_CLMUL __m128i load(const std::uint8_t* p) {
    const __m128i reverse = _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), reverse);
}

KESTREL_CLMUL __m128i clmul(std::uint64_t a, std::uint64_t b) {
    return _mm_clmulepi64_si128(_mm_cvtsi64_si128(static_cast<long long>(a)),
                                _mm_cvtsi64_si128(static_cast<long long>(b)), 0x00);
}

KESTREL_CLMUL std::uint64_t low(__m128i x) {
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(x));
}
KESTREL_CLMUL std::uint64_t high(__m128i x) {
    return static_cast<std::uint64_t>(_mm_extract_epi64(x, 1));
}

// The CRC register for a remainder r: r * x^32 mod P.
KESTREL_CLMUL std::uint32_t reduce(__m128i r) {
    static constexpr std::uint64_t x96 = x_pow_mod(96), x64 = x_pow_mod(64), mu = x64_div_p();
    // r * x^32 = H * x^96 + L * x^32, below 96 bits once x^96 is replaced.
    const __m128i h = clmul(high(r), x96);
    const std::uint64_t t_low = low(h) ^ (low(r) << 32);
    const std::uint64_t t_high = high(h) ^ (low(r) >> 32);
    // Down to 64 bits, then Barrett: q = floor(u / P), remainder u - q * P.
    const std::uint64_t u = low(clmul(t_high, x64)) ^ t_low;
    const std::uint64_t q = low(clmul(u >> 32, mu)) >> 32;
    return static_cast<std::uint32_t>(u ^ low(clmul(q, polynomial)));
}

}  // namespace

KESTREL_CLMUL std::uint32_t crc32_fold(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    constexpr std::size_t block = 16;
    constexpr std::size_t step = 4 * block;
    if (size < step) return crc32_slice8(data, size, crc);
    const std::uint8_t* p = data;
    const std::uint8_t* const end = data + size;

    // The preset register acts as if it were XORed into the first four message bytes.
    __m128i x0 = _mm_xor_si128(load(p), _mm_set_epi32(static_cast<int>(crc), 0, 0, 0));
    __m128i x1 = load(p + block);
    __m128i x2 = load(p + 2 * block);
    __m128i x3 = load(p + 3 * block);
    p += step;
    const __m128i by512 = fold_constants<512>();
    for (; static_cast<std::size_t>(end - p) >= step; p += step) {
        x0 = fold(x0, by512, load(p));
        x1 = fold(x1, by512, load(p + block));
        x2 = fold(x2, by512, load(p + 2 * block));
        x3 = fold(x3, by512, load(p + 3 * block));
    }
    const __m128i by128 = fold_constants<128>();
    __m128i r = fold(x0, fold_constants<384>(), fold(x1, fold_constants<256>(), fold(x2, by128, x3)));
    for (; static_cast<std::size_t>(end - p) >= block; p += block)
        r = fold(r, by128, load(p));
    return crc32_bytewise(p, static_cast<std::size_t>(end - p), reduce(r));
}

bool crc32_fold_available() {
    return __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
}

#else

std::uint32_t crc32_fold(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    return crc32_slice8(data, size, crc);
}

bool crc32_fold_available() {
    return false;
}

#endif

}  // namespace lib13818
