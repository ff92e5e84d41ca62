#include "buffers/Mp3Buffer.h"

#include "harvest/WebMarkup.h"

void Mp3Buffer::add(const QString& url) {
    m_lines.append(line(url));
}

QString Mp3Buffer::line(const QString& url) {
    return WebMarkup::anchor(url) + WebMarkup::text(url) + QStringLiteral("</a><br>");
}

QString Mp3Buffer::pageHtml() const {
    return QStringLiteral("<html><title>Found links report</title>") + WebMarkup::noScriptPolicy() +
           QStringLiteral("<body><table border='0' width='100%' cellspacing='0' cellpadding='0'>") +
           m_lines.join(QString()) + QStringLiteral("</table></body></html>");
}

QString Mp3Buffer::fileText() const {
    return QStringLiteral("<html>\r\n\r\n<title>Report</title>") + WebMarkup::noScriptPolicy() +
           QStringLiteral("<body>") + m_lines.join(QString()) +
           QStringLiteral("</body>\r\n</html>\r\n");
}
