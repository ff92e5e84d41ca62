#include "platform/TextFileWriter.h"

#include <unistd.h>

TextFileWriter::TextFileWriter(const QString& path) : m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
}

void TextFileWriter::write(QStringView text) {
    if (!m_failed)
        writeBytes(text.toUtf8());
}

// Unbuffered, and written until every byte is taken or the system refuses:
// a short write is followed by another that reports the system's reason (a
// full disk, say), and a failed write never commits a cut-off file.
void TextFileWriter::writeBytes(QByteArrayView bytes) {
    for (qint64 done = 0; !m_failed && done < bytes.size();) {
        const qint64 written = m_file.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            fail();
            m_file.cancelWriting();
        }
        done += written;
    }
}

void TextFileWriter::syncToDisk() {
    if (!m_failed)
        ::fdatasync(m_file.handle());
}

QString TextFileWriter::commit() {
    if (m_failed)
        return m_error;
    if (!m_file.commit())
        return m_file.errorString();
    return {};
}

void TextFileWriter::fail() {
    m_failed = true;
    m_error = m_file.errorString();
}
