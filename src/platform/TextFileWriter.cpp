#include "platform/TextFileWriter.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Once this many bytes are written and not yet on their way to the disk,
// the disk is asked to start on them; the first time sooner, so that the
// disk starts early in the run.
constexpr qint64 kWriteBackStep = 2 << 20;
constexpr qint64 kFirstWriteBack = 256 << 10;
// Once this many more bytes are on their way, a sync of the file so far
// starts in the background.
constexpr qint64 kSyncStep = 4 << 20;

} // namespace

TextFileWriter::TextFileWriter(const QString& path) : m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
}

TextFileWriter::~TextFileWriter() {
    releaseReplaced();
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
    const qint64 step = m_writeBackStart == 0 ? kFirstWriteBack : kWriteBackStep;
    if (!m_failed && size() - m_writeBackStart >= step)
        startWriteBack();
}

// The disk writes a large file's bytes while the rest is still being made,
// and syncs them every few MiB in the background, so the sync before the
// file is put in place has only the last part left to wait for.
void TextFileWriter::startWriteBack() {
    ::sync_file_range(m_file.handle(), m_writeBackStart, size() - m_writeBackStart,
                      SYNC_FILE_RANGE_WRITE);
    m_writeBackStart = size();
    if (m_writeBackStart - m_syncStart >= kSyncStep && m_sync.start(m_file.handle()))
        m_syncStart = m_writeBackStart;
}

// The disk gets the last bytes first, then the file to be replaced leaves
// the page cache while the disk works on them: replacing a file whose pages
// are cached makes the rename invalidate each page, which costs several
// times what dropping them here does, and at a time when nothing else runs.
void TextFileWriter::startWritingOut() {
    if (m_failed)
        return;
    startWriteBack();
    const int replaced = openReplaced();
    if (replaced < 0)
        return;
    ::posix_fadvise(replaced, 0, 0, POSIX_FADV_DONTNEED);
    ::close(replaced);
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
    m_sync.wait();
    m_replaced = openReplaced();
    if (!m_file.commit())
        return Failure{m_file.errorString()};
    return {};
}

void TextFileWriter::releaseReplaced() {
    if (m_replaced >= 0)
        ::close(m_replaced);
    m_replaced = -1;
}

void TextFileWriter::fail() {
    m_failed = true;
    m_error = m_file.errorString();
}
