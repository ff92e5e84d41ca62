#pragma once

#include <QString>

class HarvestState;

// The report-listing editor: the report buffer shown as a list with its
// "Clear All Links" and "Close" buttons. Holds only whether it is shown.
class ReportListing {
public:
    bool isVisible() const { return m_visible; }

    // "Veiw report listing": shows the list and both buttons.
    void show() { m_visible = true; }
    // "Close": hides the list and both buttons.
    void close() { m_visible = false; }
    // "Clear All Links": empties the report buffer and closes the editor.
    // Returns the text for status panel 2.
    QString clearAllLinks(HarvestState& state);
    // Double-click: removes the selected row (-1 when none is selected).
    // Returns whether a row was removed.
    bool removeRow(HarvestState& state, int selectedRow);

private:
    bool m_visible = false;
};
