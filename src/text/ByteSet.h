#pragma once

#include <QtGlobal>
#include <array>
#include <bit>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A small set of bytes that an escaper stops at in a long text: every byte
// below a bound, and a few chosen others. The bytes before the next one are
// copied sixteen at a time where the processor can compare sixteen bytes
// at once, so the runs of ordinary bytes between escapes, most of a typical
// text, cost little.
template <std::size_t N> class ByteSet {
public:
    // The bytes below `below` (none for 0) and the `others`.
    constexpr ByteSet(uchar below, const std::array<uchar, N>& others)
        : m_below(below), m_others(others) {
        for (int b = 0; b < below; ++b)
            m_table[b] = true;
        for (const uchar other : others)
            m_table[other] = true;
    }

    constexpr bool contains(uchar b) const { return m_table[b]; }

    // Copies the bytes from `from` on to `out` up to the first byte of the
    // set, moves `out` past them and returns that byte's position (`size`
    // when there is none). Sixteen bytes are stored at a time, so up to
    // fifteen bytes beyond those copied may be overwritten at `out`: room
    // for sixteen bytes more than the copied ones must be there whenever
    // sixteen bytes of the text are left.
    qsizetype copyUntil(char*& out, const uchar* bytes, qsizetype from, qsizetype size) const {
        qsizetype i = from;
#if defined(__SSE2__)
        for (; size - i >= 16; i += 16, out += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), chunk);
            if (const int found = hits(chunk)) {
                const int before = std::countr_zero(unsigned(found));
                out += before;
                return i + before;
            }
        }
#endif
        for (; i < size && !m_table[bytes[i]]; ++i)
            *out++ = char(bytes[i]);
        return i;
    }

private:
#if defined(__SSE2__)
    // One bit for each of the sixteen bytes that is in the set.
    int hits(__m128i chunk) const {
        __m128i found = _mm_setzero_si128();
        if (m_below > 0) {
            // b < below exactly when min(b, below - 1) is b, compared without sign.
            const __m128i bound = _mm_set1_epi8(char(m_below - 1));
            found = _mm_cmpeq_epi8(_mm_min_epu8(chunk, bound), chunk);
        }
        for (const uchar other : m_others)
            found = _mm_or_si128(found, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(char(other))));
        return _mm_movemask_epi8(found);
    }
#endif

    uchar m_below;
    std::array<uchar, N> m_others;
    std::array<bool, 256> m_table{}; // the short tail of a text is looked up byte by byte
};
