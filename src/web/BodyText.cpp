#include "web/BodyText.h"

#include "web/CharsetSniffer.h"

#include <QStringDecoder>

BodyText::BodyText(const QByteArray& contentType) {
    const QByteArray named = CharsetSniffer::fromContentType(contentType);
    if (CharsetSniffer::isKnown(named))
        m_charset = named;
}

bool BodyText::update(bool bodyComplete) {
    if (!chooseCharset(bodyComplete))
        return false;
    const bool doubled = m_bytes.size() >= 2 * m_decodedBytes;
    if (m_bytes.size() == m_decodedBytes || !(bodyComplete || doubled))
        return true;
    QStringDecoder decoder(m_charset.constData());
    m_text = decoder.decode(m_bytes);
    m_decodedBytes = m_bytes.size();
    return true;
}

bool BodyText::chooseCharset(bool bodyComplete) {
    if (!m_charset.isEmpty())
        return true;
    if (!bodyComplete && m_bytes.size() < CharsetSniffer::kSniffBytes)
        return false;
    m_charset = CharsetSniffer::fromHead(m_bytes);
    return true;
}
