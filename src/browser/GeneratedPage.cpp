#include "browser/GeneratedPage.h"

#include "platform/HomeFolder.h"

#include <QDir>
#include <QTemporaryFile>

GeneratedPage::GeneratedPage() = default;
GeneratedPage::~GeneratedPage() = default;

// The byte-order mark tells the view the text is UTF-8.
std::optional<QString> GeneratedPage::write(const QString& html) {
    auto file = std::make_unique<QTemporaryFile>(
        QDir(HomeFolder::path()).filePath(QStringLiteral("report-XXXXXX.htm")));
    if (!file->open())
        return std::nullopt;
    const QByteArray bytes = "\xEF\xBB\xBF" + html.toUtf8();
    const bool written = file->write(bytes) == bytes.size();
    file->close();
    if (!written)
        return std::nullopt;
    m_file = std::move(file);
    return m_file->fileName();
}
