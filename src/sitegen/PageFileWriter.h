#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TextFileWriter;

// Writes the site's files into the project folder, each one whole (a failed
// write leaves the earlier file in place); a small file that already holds
// its text is left as it is. Keeps the names of the files it
// wrote; the first file it cannot write stops it, so nothing after the
// failure is written (a full disk would only fail again).
class PageFileWriter {
public:
    // Takes one piece of a file's text, as UTF-8; a large text is handed
    // over in pieces so that it is never held whole. Pieces end at line ends.
    using TextOut = std::function<void(QByteArrayView)>;
    // Hands every piece of a text, in order, to the TextOut it is given.
    using TextPieces = std::function<void(const TextOut&)>;

    // A file to write: its name and the pieces of its text.
    struct FileText {
        QString fileName;
        TextPieces pieces;
    };
    // A file with the text exactly as given.
    static FileText file(const QString& fileName, const QString& text);
    // Page N is the file N + ".htm": the text followed by one CR LF.
    static FileText page(const QString& pageName, const QString& text);
    static FileText pageInPieces(const QString& pageName, const TextPieces& pieces);

    explicit PageFileWriter(const QString& folder);
    ~PageFileWriter();

    // Writes the files in their order, each made beside its place and then
    // put there, as far as the first that fails.
    void write(const QList<FileText>& files);

    // Paths of the files written, in order.
    const QStringList& written() const { return m_written; }
    // The message for the file that could not be written, if one could not.
    const QStringList& failures() const { return m_failures; }

private:
    // The file opened for writing beside its final place; none when the
    // name is not a plain file name.
    std::unique_ptr<TextFileWriter> openedFile(const QString& fileName) const;
    static void fill(TextFileWriter& file, const TextPieces& pieces);
    // Puts a written file in place and notes the outcome.
    void putOneInPlace(const QString& fileName, TextFileWriter* file);

    QString m_folder;
    QStringList m_written;
    QStringList m_failures;
};
