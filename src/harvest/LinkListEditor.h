#pragma once

#include <QString>
#include <optional>

class HarvestState;

// The link-list editor's commands that change the lists; each returns the
// text for status panel 3. Showing, hiding and opening entries are the
// window's.
class LinkListEditor {
public:
    explicit LinkListEditor(HarvestState& state);

    // "Clear All" (the window also stops view 1 and hides the list).
    QString clearAll();

    // Double-click on entry `index`: the URL moves to the visited links,
    // which the filtered add consults while the link list has entries.
    // Nothing for no valid entry.
    std::optional<QString> exclude(qsizetype index);

private:
    HarvestState& m_state;
};
