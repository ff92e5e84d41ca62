#pragma once

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

    void write(QStringView text);
    void writeBytes(QByteArrayView bytes);
    // Sends the bytes written so far to the disk now, so that commit, which
    // syncs too, has hardly any waiting left. A failure is left for commit
    // to meet.
    void syncToDisk();
    // The number of bytes written so far.
    qint64 size() const { return m_file.pos(); }
    // When the file in place holds exactly `text`, the file is left as it
    // is: commit then neither writes nor replaces it. False, and nothing
    // changes, when it holds anything else or cannot be read.
    bool leaveIfHolding(QByteArrayView text);
    // Puts the file in place. Returns an error text, empty on success.
    QString commit();

private:
    void fail();
    void startWriteBack();
    void dropReplacedFromCache() const;

    QSaveFile m_file;
    bool m_failed = false;
    bool m_unchanged = false;
    QString m_error;
    qint64 m_writeBackStart = 0; // where the bytes not yet sent to the disk begin
};
