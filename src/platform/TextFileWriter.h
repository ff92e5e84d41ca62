#pragma once

#include "platform/BackgroundSync.h"
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
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void write(QStringView text);
    void writeBytes(QByteArrayView bytes);
    // Starts the disk on the bytes written so far, without waiting for it,
    // so that the sync in commit has little left to wait for, and drops the
    // file to be replaced from the page cache. A failure is left for commit
    // to meet.
    void startWritingOut();
    // The number of bytes written so far.
    qint64 size() const { return m_file.pos(); }
    // When the file in place holds exactly `text`, the file is left as it
    // is: commit then neither writes nor replaces it. False, and nothing
    // changes, when it holds anything else or cannot be read.
    bool leaveIfHolding(QByteArrayView text);
    // Puts the file in place. Returns an error text, empty on success. The
    // file replaced is held open until releaseReplaced (or the writer goes):
    // only then are its blocks freed, which can keep the disk busy a while.
    Expected<void> commit();
    void releaseReplaced();

private:
    void fail();
    void startWriteBack();

    // The file in place, or -1; only a hint: the file may be missing, and
    // a file of another kind (a FIFO put there by someone) must not block.
    int openReplaced() const;

    QSaveFile m_file;
    int m_replaced = -1; // the file replaced, held open
    bool m_failed = false;
    bool m_unchanged = false;
    QString m_error;
    qint64 m_writeBackStart = 0; // where the bytes not yet sent to the disk begin
    qint64 m_syncStart = 0;      // where the bytes not yet synced in the background begin
    BackgroundSync m_sync;       // after m_file: done before the file is closed
};
