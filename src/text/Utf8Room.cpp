#include "text/Utf8Room.h"

#include "text/ScriptText.h"

Utf8Room::Utf8Room(QByteArray& text, qsizetype mostBytes) : m_text(text) {
    const qsizetype used = text.size();
    text.resize(used + mostBytes);
    m_end = text.data() + used;
}

Utf8Room::~Utf8Room() {
    m_text.truncate(m_end - m_text.constData());
}

qsizetype Utf8Room::mostBytes(QUtf8StringView text) {
    return text.size() * ScriptText::kMostBytesPerByte + ScriptText::kSpareBytes;
}

void Utf8Room::stringBody(QUtf8StringView text) {
    m_end = ScriptText::writeStringBody(m_end, text);
}

void Utf8Room::html(QUtf8StringView text) {
    m_end = ScriptText::writeHtml(m_end, text);
}
