#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Answers "does this text occur, ignoring letter case, in any of the rows?"
// with exactly the answer of QString::contains(text, Qt::CaseInsensitive)
// tried on every row, in time proportional to the text's length instead of
// to the size of all rows.
//
// The rows are kept as one sequence of case-folded UTF-16 units, each row
// followed by a separator, and a suffix automaton over that sequence is grown
// as rows are added (amortised constant work per unit). A walk from the
// automaton's start along the folded text succeeds exactly when the folded
// text is a substring of the sequence.
//
// Why that equals the per-row test: Qt compares case-insensitively unit by
// unit, folding each unit with the simple Unicode case folding; only a low
// surrogate is folded together with the high surrogate before it. So for a
// text without surrogates, a match at some position of a row needs every
// row unit there to fold to a BMP letter equal to the text's, which rules out
// surrogates in the row (they fold to themselves or to a code point above the
// BMP). Here every surrogate of a row, like the separator between rows, is
// stored as a key no folded BMP unit can have, so the text cannot match across
// them, nor across two rows. Texts that themselves hold a surrogate (never a
// real URL, which the browser percent-encodes) are answered by the per-row
// test itself. An empty text occurs in every row, as with QString::contains.
class RowIndex {
public:
    RowIndex();
    explicit RowIndex(const QStringList& rows);

    void addRow(const QString& row);
    bool occursInAnyRow(const QString& text) const;
    qsizetype rowCount() const { return m_rows.size(); }

private:
    using Key = char32_t;
    static constexpr Key kBreak = 0xFFFFFFFFu;
    static constexpr int kNone = -1;

    struct State {
        int length = 0;
        int link = kNone;
        int firstEdge = kNone;
    };
    struct Edge {
        Key key;
        int target;
        int next;
    };

    static Key keyOf(QChar unit);
    static bool hasSurrogate(const QString& text);
    bool occursByScan(const QString& text) const;

    void extend(Key key);
    int addState(int length);
    int edgeOf(int state, Key key) const;
    int target(int state, Key key) const;
    void addEdge(int state, Key key, int to);
    void copyEdges(int from, int to);
    int splitState(int p, int q, Key key);

    QStringList m_rows;
    std::vector<State> m_states;
    std::vector<Edge> m_edges;
    std::vector<int> m_startEdges; // the start state's edges by BMP unit, for speed
    int m_last = 0;
};
