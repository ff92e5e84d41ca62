#include "buffers/PictureBuffer.h"

#include "files/TextFile.h"
#include "harvest/WebMarkup.h"
#include "platform/Logging.h"

#include <QDir>

PictureBuffer::PictureBuffer(QStringList& pictures, const QString& spillFolder)
    : m_pictures(pictures), m_spillFolder(spillFolder) {}

void PictureBuffer::add(const QString& url) {
    if (m_pictures.size() >= kCapacity)
        spill();
    if (!m_pictures.contains(url))
        m_pictures.append(url);
}

void PictureBuffer::remove(const QString& url) {
    m_pictures.removeAll(url);
}

// The whole buffer as one line, replacing a file of the same name. A file
// that cannot be written (or a home folder that could not be made) is given
// up, and logged: the buffer is emptied all the same, so that browsing goes
// on collecting.
void PictureBuffer::spill() {
    const QString line = dumpPage(m_pictures);
    const QString name = QStringLiteral("bufer%1.htm").arg(m_spillCount);
    if (!m_spillFolder.isEmpty()) {
        const QString path = QDir(m_spillFolder).filePath(name);
        if (const Expected<void> written = TextFile::writeLines(path, {line}); !written)
            qCWarning(lcBrowser) << "Could not write" << path << written.error();
    }
    ++m_spillCount;
    m_pictures.clear();
}

QString PictureBuffer::imageTags(const QStringList& urls) {
    QString tags;
    for (const QString& url : urls)
        tags += WebMarkup::picture(url);
    return tags;
}

QString PictureBuffer::dumpPage(const QStringList& urls) {
    return QStringLiteral("<html>") + WebMarkup::noScriptPolicy() + QStringLiteral("<body>") +
           imageTags(urls) + QStringLiteral("</body></html>");
}

QString PictureBuffer::reportHtml() const {
    return QStringLiteral("<html>") + WebMarkup::noScriptPolicy() +
           QStringLiteral("<body><font face='Verdana'><big><strong><big>Report</big>"
                          "</strong></big></font> <ul><p>") +
           imageTags(m_pictures) + QStringLiteral("</p></ul> </body> </html>");
}

QString PictureBuffer::fileText() const {
    return QStringLiteral("<html>\r\n\r\n<head><title>Image Buffer's contents</title>") +
           WebMarkup::noScriptPolicy() + QStringLiteral("</head><body>") + imageTags(m_pictures) +
           QStringLiteral("</body>\r\n</html>\r\n");
}

QString PictureBuffer::clearedText() {
    return QStringLiteral("Images'Listing is clear ! ");
}
