#include "harvest/RobotsPattern.h"

RobotsPattern::RobotsPattern(const QString& pattern)
    : m_anchored(pattern.endsWith(QLatin1Char('$'))), m_length(pattern.size()) {
    const QString body = m_anchored ? pattern.chopped(1) : pattern;
    for (const QString& text : body.split(QLatin1Char('*')))
        m_pieces << piece(text);
}

// The first piece starts the path. Each later one is taken at its first
// place after the one before, which leaves the most room for the rest; with
// "$" the last one must end the path instead.
bool RobotsPattern::matches(QStringView path) const {
    const QString& first = m_pieces.first().text;
    if (!path.startsWith(first))
        return false;
    if (m_pieces.size() == 1)
        return !m_anchored || path.size() == first.size();
    qsizetype at = first.size();
    const qsizetype last = m_pieces.size() - 1;
    for (qsizetype index = 1; index < last; ++index) {
        const qsizetype found = find(m_pieces.at(index), path, at);
        if (found < 0)
            return false;
        at = found + m_pieces.at(index).text.size();
    }
    const QString& end = m_pieces.at(last).text;
    if (m_anchored)
        return path.size() - end.size() >= at && path.endsWith(end);
    return find(m_pieces.at(last), path, at) >= 0;
}

RobotsPattern::Piece RobotsPattern::piece(const QString& text) {
    Piece made{text, QList<qsizetype>(text.size(), 0)};
    qsizetype matched = 0;
    for (qsizetype at = 1; at < text.size(); ++at) {
        while (matched > 0 && text.at(at) != text.at(matched))
            matched = made.fallback.at(matched - 1);
        if (text.at(at) == text.at(matched))
            ++matched;
        made.fallback[at] = matched;
    }
    return made;
}

// Where the piece first occurs in the path at or after `from`; -1 when it
// does not. Each character of the path is read once: after a mismatch the
// search goes on with the part of the piece already known to match.
qsizetype RobotsPattern::find(const Piece& piece, QStringView path, qsizetype from) {
    const QString& text = piece.text;
    if (text.isEmpty())
        return from;
    qsizetype matched = 0;
    for (qsizetype at = from; at < path.size(); ++at) {
        while (matched > 0 && path.at(at) != text.at(matched))
            matched = piece.fallback.at(matched - 1);
        if (path.at(at) == text.at(matched))
            ++matched;
        if (matched == text.size())
            return at + 1 - matched;
    }
    return -1;
}
