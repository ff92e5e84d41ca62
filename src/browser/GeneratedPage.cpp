#include "browser/GeneratedPage.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QUrl>

namespace {

const QString kNamePattern = QStringLiteral("report-XXXXXX.htm");

} // namespace

GeneratedPage::GeneratedPage(const QString& folder) : m_folder(folder) {}
GeneratedPage::~GeneratedPage() = default;

// The byte-order mark tells the view the text is UTF-8.
std::optional<QString> GeneratedPage::write(const QString& html) {
    auto file = std::make_unique<QTemporaryFile>(QDir(m_folder).filePath(kNamePattern));
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

bool GeneratedPage::isGenerated(const QString& url, const QString& folder) {
    static const QRegularExpression name(QStringLiteral("^report-[^/]{6}\\.htm$"));
    const QUrl address(url);
    if (!address.isLocalFile())
        return false;
    const QFileInfo file(address.toLocalFile());
    return name.match(file.fileName()).hasMatch() &&
           QFileInfo(file.absolutePath()) == QFileInfo(QDir(folder).absolutePath());
}
