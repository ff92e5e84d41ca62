#include "harvest/RowIndex.h"

#include <algorithm>

namespace {
constexpr int kStartTableSize = 0x10000;
} // namespace

RowIndex::RowIndex() : m_startEdges(kStartTableSize, kNone) {
    m_states.push_back(State{});
}

RowIndex::RowIndex(const QStringList& rows) : RowIndex() {
    for (const QString& row : rows)
        addRow(row);
}

void RowIndex::addRow(const QString& row) {
    m_rows.append(row);
    for (const QChar unit : row)
        extend(keyOf(unit));
    extend(kBreak);
}

bool RowIndex::occursInAnyRow(const QString& text) const {
    if (text.isEmpty())
        return !m_rows.isEmpty();
    if (hasSurrogate(text))
        return occursByScan(text);
    int state = 0;
    for (const QChar unit : text) {
        state = target(state, keyOf(unit));
        if (state == kNone)
            return false;
    }
    return true;
}

// The key a unit is compared by: its simple case folding, as Qt's
// case-insensitive search uses; a surrogate gets the key nothing matches.
RowIndex::Key RowIndex::keyOf(QChar unit) {
    if (unit.isSurrogate())
        return kBreak;
    return QChar::toCaseFolded(char32_t(unit.unicode()));
}

bool RowIndex::hasSurrogate(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar unit) { return unit.isSurrogate(); });
}

bool RowIndex::occursByScan(const QString& text) const {
    return std::any_of(m_rows.begin(), m_rows.end(), [&text](const QString& row) {
        return row.contains(text, Qt::CaseInsensitive);
    });
}

// The classic online suffix-automaton step: the new state stands for every
// suffix ending with this key; states on the suffix-link path that lack the
// key get an edge to it, and a state reached by a too-long path is split.
void RowIndex::extend(Key key) {
    const int current = addState(m_states[m_last].length + 1);
    int p = m_last;
    while (p != kNone && target(p, key) == kNone) {
        addEdge(p, key, current);
        p = m_states[p].link;
    }
    if (p == kNone) {
        m_states[current].link = 0;
    } else {
        const int q = target(p, key);
        if (m_states[p].length + 1 == m_states[q].length)
            m_states[current].link = q;
        else
            m_states[current].link = splitState(p, q, key);
    }
    m_last = current;
}

// Copies q into a shorter clone that takes over the edges into q from p and
// from p's suffix-link ancestors; returns the clone.
int RowIndex::splitState(int p, int q, Key key) {
    const int clone = addState(m_states[p].length + 1);
    m_states[clone].link = m_states[q].link;
    copyEdges(q, clone);
    while (p != kNone && target(p, key) == q) {
        addEdge(p, key, clone);
        p = m_states[p].link;
    }
    m_states[q].link = clone;
    return clone;
}

int RowIndex::addState(int length) {
    State state;
    state.length = length;
    m_states.push_back(state);
    return int(m_states.size()) - 1;
}

int RowIndex::edgeOf(int state, Key key) const {
    for (int e = m_states[state].firstEdge; e != kNone; e = m_edges[e].next) {
        if (m_edges[e].key == key)
            return e;
    }
    return kNone;
}

int RowIndex::target(int state, Key key) const {
    if (state == 0 && key < kStartTableSize)
        return m_startEdges[key];
    const int edge = edgeOf(state, key);
    return edge == kNone ? kNone : m_edges[edge].target;
}

// Sets the state's edge for key to `to`, adding the edge when it is new.
void RowIndex::addEdge(int state, Key key, int to) {
    if (state == 0 && key < kStartTableSize) {
        m_startEdges[key] = to;
        return;
    }
    const int edge = edgeOf(state, key);
    if (edge != kNone) {
        m_edges[edge].target = to;
        return;
    }
    m_edges.push_back(Edge{key, to, m_states[state].firstEdge});
    m_states[state].firstEdge = int(m_edges.size()) - 1;
}

// `from` is never the start state (only states reached by an edge are
// split) and `to` is a fresh state, so the edges are pushed unchecked.
void RowIndex::copyEdges(int from, int to) {
    for (int e = m_states[from].firstEdge; e != kNone; e = m_edges[e].next) {
        const Edge copy{m_edges[e].key, m_edges[e].target, m_states[to].firstEdge};
        m_edges.push_back(copy);
        m_states[to].firstEdge = int(m_edges.size()) - 1;
    }
}
