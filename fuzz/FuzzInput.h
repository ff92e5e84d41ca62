#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstdlib>
#include <utility>

// What a fuzz target is given, in the forms the parsers take.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_bytes(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size))) {}

    // The bytes, copied: the parsers may keep them.
    QByteArray bytes() const { return QByteArray(m_bytes.constData(), m_bytes.size()); }

    // The first line and the rest, for targets that need a second input
    // beside the text (a path to look up, a header beside a body).
    std::pair<QByteArray, QByteArray> firstLineAndRest() const {
        const qsizetype end = m_bytes.indexOf('\n');
        if (end < 0)
            return {bytes(), {}};
        return {m_bytes.left(end), m_bytes.mid(end + 1)};
    }

private:
    QByteArray m_bytes;
};

// A property the parser must keep; a broken one stops the fuzzer with the
// input that broke it, as a crash would.
inline void mustHold(bool property) {
    if (!property)
        std::abort();
}
