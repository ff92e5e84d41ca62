#include "files/TextFileWriter.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
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

int TextFileWriter::openReplaced() const {
    const QByteArray path = QFile::encodeName(m_file.fileName());
    return ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

// Only a plain file is read. Anything else in the file's place (a FIFO
// would wait for a writer for ever) is opened without waiting and left
// for commit to replace.
bool TextFileWriter::leaveIfHolding(QByteArrayView text) {
    m_unchanged = false;
    if (m_failed || size() != 0)
        return false;
    const int fd = openReplaced();
    if (fd < 0)
        return false;
    struct stat status {};
    QFile old;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size != text.size() ||
        !old.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    m_unchanged = old.readAll() == text;
    return m_unchanged;
}

Expected<void> TextFileWriter::commit() {
    if (m_failed)
        return Failure{m_error};
    if (m_unchanged)
        return {}; // the unused temporary file goes with m_file
    if (!m_file.commit())
        return Failure{m_file.errorString()};
    return {};
}

void TextFileWriter::fail() {
    m_failed = true;
    m_error = m_file.errorString();
}
