#include "web/CharsetSniffer.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

const QByteArray kFallbackCharset = "windows-1252";

// The charset parameter of a Content-Type value or of a META tag.
QByteArray charsetParameter(const QByteArray& text) {
    static const QRegularExpression parameter(
        QStringLiteral(R"(charset\s*=\s*["']?\s*([A-Za-z0-9_.:\-]+))"),
        QRegularExpression::CaseInsensitiveOption);
    return parameter.match(QString::fromLatin1(text)).captured(1).toLatin1();
}

// The charset of the first META tag that names one, in <meta charset=x> or
// in <meta http-equiv="Content-Type" content="text/html; charset=x">.
QByteArray metaCharset(const QByteArray& head) {
    static const QRegularExpression meta(QStringLiteral(R"(<meta\b[^>]*>)"),
                                         QRegularExpression::CaseInsensitiveOption);
    auto tags = meta.globalMatch(QString::fromLatin1(head));
    while (tags.hasNext()) {
        const QByteArray charset = charsetParameter(tags.next().captured(0).toLatin1());
        if (!charset.isEmpty())
            return charset;
    }
    return {};
}

QByteArray bomCharset(const QByteArray& head) {
    if (head.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (head.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (head.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    return {};
}

} // namespace

QByteArray CharsetSniffer::fromContentType(const QByteArray& contentType) {
    return charsetParameter(contentType);
}

QByteArray CharsetSniffer::fromHead(const QByteArray& head) {
    const QByteArray start = head.left(kSniffBytes);
    for (const QByteArray& charset : {metaCharset(start), bomCharset(start)}) {
        if (isKnown(charset))
            return charset;
    }
    return kFallbackCharset;
}

bool CharsetSniffer::isKnown(const QByteArray& charset) {
    return !charset.isEmpty() && QStringDecoder(charset.constData()).isValid();
}
