#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// One Allow or Disallow pattern of a robots.txt. "*" stands for any
// characters and a final "$" for the end of the path; every other
// character, "$" elsewhere included, stands for itself. A pattern matches
// a path that starts with it.
//
// The site writes the patterns and its pages write the paths, so matching
// must not depend on how the two are made: the pattern is kept as its
// literal pieces between the stars, and each piece is looked for once,
// left to right, with a search that never steps back in the path. A match
// costs time in proportion to the path and the pattern.
class RobotsPattern {
public:
    explicit RobotsPattern(const QString& pattern);

    bool matches(QStringView path) const;
    // The characters of the pattern as written; the longest matching
    // pattern decides.
    qsizetype length() const { return m_length; }

private:
    // A run of literal characters, with the length of the longest proper
    // prefix of each of its beginnings that is also a suffix of it: where a
    // search goes on after a mismatch without reading the path again.
    struct Piece {
        QString text;
        QList<qsizetype> fallback;
    };
    static Piece piece(const QString& text);
    static qsizetype find(const Piece& piece, QStringView path, qsizetype from);

    // The text up to the first star, then the text after each star.
    QList<Piece> m_pieces;
    bool m_anchored = false;
    qsizetype m_length = 0;
};
