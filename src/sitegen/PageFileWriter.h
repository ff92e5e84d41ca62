#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Writes the site's files into the project folder, each one whole (a failed
// write leaves the earlier file in place). Keeps the names of the files it
// wrote; the first file it cannot write stops it, so nothing after the
// failure is written (a full disk would only fail again).
class PageFileWriter {
public:
    // Takes one piece of a file's text; a large text is handed over in
    // pieces so that it is never held whole. Pieces end at line ends.
    using TextOut = std::function<void(const QString&)>;
    // Hands every piece of a text, in order, to the TextOut it is given.
    using TextPieces = std::function<void(const TextOut&)>;

    explicit PageFileWriter(const QString& folder);

    // Page N goes to N + ".htm": the text followed by one CR LF.
    void writePage(const QString& pageName, const QString& text);
    void writePageInPieces(const QString& pageName, const TextPieces& pieces);
    // Any other file: the text exactly as given.
    void writeFile(const QString& fileName, const QString& text);
    void writePieces(const QString& fileName, const TextPieces& pieces);

    // Paths of the files written, in order.
    const QStringList& written() const { return m_written; }
    // The message for the file that could not be written, if one could not.
    const QStringList& failures() const { return m_failures; }

private:
    static QString writeText(const QString& path, const TextPieces& pieces);

    QString m_folder;
    QStringList m_written;
    QStringList m_failures;
};
