#pragma once

#include "platform/Expected.h"

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>
#include <QStringView>

// A text file written in pieces, as UTF-8, so a large text need not be held
// whole in memory. The file is replaced whole on commit or not at all
// (QSaveFile). The first failure is kept and later pieces are dropped.
// Pieces must not split a surrogate pair.
class TextFileWriter {
public:
    explicit TextFileWriter(const QString& path);
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void write(QStringView text);
    void writeBytes(QByteArrayView bytes);
    // The number of bytes written so far.
    qint64 size() const { return m_file.pos(); }
    // When the file in place holds exactly `text`, the file is left as it
    // is: commit then neither writes nor replaces it. False, and nothing
    // changes, when it holds anything else or cannot be read.
    bool leaveIfHolding(QByteArrayView text);
    // Puts the file in place, synced to the disk.
    Expected<void> commit();

private:
    void fail();

    // The file in place, or -1; only a hint: the file may be missing, and
    // a file of another kind (a FIFO put there by someone) must not block.
    int openReplaced() const;

    QSaveFile m_file;
    bool m_failed = false;
    bool m_unchanged = false;
    QString m_error;
};
