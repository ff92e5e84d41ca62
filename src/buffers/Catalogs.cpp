#include "buffers/Catalogs.h"

#include "harvest/WebMarkup.h"

QString Catalogs::at(int index) const {
    return isCatalog(index) ? m_catalogs[index] : QString();
}

void Catalogs::addPicture(int index, const QString& url) {
    if (isCatalog(index))
        m_catalogs[index] += WebMarkup::picture(url);
}

void Catalogs::clear(int index) {
    if (isCatalog(index))
        m_catalogs[index].clear();
}

QString Catalogs::pageHtml(int index) const {
    return QStringLiteral("<html>") + WebMarkup::noScriptPolicy() + QStringLiteral("<body>") +
           at(index) + QStringLiteral("</body></html>");
}

QString Catalogs::fileText(int index) const {
    return QStringLiteral("<html>\r\n\r\n<title>Catalog</title>") + WebMarkup::noScriptPolicy() +
           QStringLiteral("<body>") + at(index) + QStringLiteral("</body>\r\n</html>\r\n");
}

QString Catalogs::clearedText(const QString& name) {
    return QStringLiteral("Buffer ") + name + QStringLiteral(" is clear");
}
