#pragma once

#include <QString>
#include <QStringList>

class HarvestState;

// The filtered add every background collector uses: a URL joins the link
// list unless it holds one of the excluded words or is already listed.
class LinkFilter {
public:
    explicit LinkFilter(HarvestState& state);

    // Appends the URL to the link list; false when it was rejected.
    bool add(const QString& url);

    // The ten words, in the order they are tried; each is a plain
    // case-insensitive substring test, so "pl" rejects ".../help/plans".
    static const QStringList& excludedWords();
    static bool hasExcludedWord(const QString& url);

private:
    bool isListed(const QString& url) const;

    HarvestState& m_state;
};
