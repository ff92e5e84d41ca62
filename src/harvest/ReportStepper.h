#pragma once

#include <QString>

class HarvestState;

// Main-toolbar buttons 21 to 23: step back and forth through the URLs that
// Get/Add all Links found, showing each one's link text in status panel 1.
// The found-URL list and the report buffer run in step, so entry i of the
// one belongs to row i of the other.
class ReportStepper {
public:
    struct Step {
        bool acted = false; // false: the button does nothing
        QString url;        // to open in the visible user view
        QString status;     // for status panel 1
    };

    // Button 21, while the found-URL list is not empty.
    Step previous(const HarvestState& state);
    // Button 22, while the link list is not empty. The first press after a
    // reset opens entry 1, since the index starts at 0.
    Step next(const HarvestState& state);
    // Button 23: empties the found-URL list and resets the index. Returns
    // the text for status panel 2.
    QString clearFoundUrls(HarvestState& state);

    int index() const { return m_index; }

private:
    // Brings an index left behind by a shorter found-URL list back to its
    // last entry.
    void clampIndex(const HarvestState& state);
    Step open(const HarvestState& state, const QString& status) const;

    int m_index = 0;
};
