#pragma once
// The fuzzer's bytes read as the choices of one run: numbers in a range, short texts, and the
// rest as data. Bytes run out gracefully (a number is then its lowest value, a text empty), so
// every input, however short, is a valid run. Not thread-safe; one per input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_next >= m_size; }

    // A number in [low, high] made of as many bytes as the range needs.
    unsigned long Between(unsigned long low, unsigned long high)
    {
        const unsigned long span = high - low;
        unsigned long value = 0;
        for (unsigned long covered = 0; covered < span && !Empty(); covered = (covered << 8) | 0xFF)
            value = (value << 8) | m_data[m_next++];
        return span == 0 ? low : low + value % (span + 1);
    }

    // The bytes up to the next `separator` (which is used up) or the end, at most `maxLength`.
    std::string Text(std::size_t maxLength, char separator = '\0')
    {
        std::string text;
        while (!Empty() && text.size() < maxLength) {
            const char byte = static_cast<char>(m_data[m_next++]);
            if (byte == separator)
                break;
            text += byte;
        }
        return text;
    }

    std::string Rest()
    {
        std::string rest(reinterpret_cast<const char*>(m_data) + m_next, m_size - m_next);
        m_next = m_size;
        return rest;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_next = 0;
};

// A broken promise of the code under test: said on the standard error, then the run stops as
// a crash, which the fuzzer keeps as a finding together with its input.
inline void Require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}
