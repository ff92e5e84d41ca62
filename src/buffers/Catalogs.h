#pragma once

#include <QString>
#include <array>

// The 21 catalogs of pictures the user picked, one for each entry of the
// search-words box by its position (0 to 20). A catalog is a run of
// "<img src='URL'>" tags without separators. A position outside 0 to 20
// (no entry selected, or an entry further down) names no catalog: reading
// it gives an empty catalog and changing it does nothing.
class Catalogs {
public:
    static constexpr int kCount = 21;

    static bool isCatalog(int index) { return index >= 0 && index < kCount; }
    QString at(int index) const;
    void addPicture(int index, const QString& url);
    void clear(int index);

    // The page "View catalog" shows.
    QString pageHtml(int index) const;
    // The "Save catalog" file, CR LF line ends.
    QString fileText(int index) const;
    // Status panel 2 after "Clear catalog"; `name` is the search-words text.
    static QString clearedText(const QString& name);

private:
    std::array<QString, kCount> m_catalogs;
};
