#pragma once

#include "platform/Expected.h"

#include <QString>

class Prompts;
class HarvestState;

// "Save report": the report buffer as an HTML file on disk, or its findings
// as a CSV or JSON file (HarvestExport).
class ReportFile {
public:
    enum class Format { Html, Csv, Json };

    struct SaveOutcome {
        bool written = false;
        QString path;  // the chosen file; empty when the user cancelled
        QString error; // why the file could not be written; empty otherwise
    };

    // Every row in order, without separators, inside a fixed frame.
    static QString content(const HarvestState& state);
    static QString content(const HarvestState& state, Format format);
    // The format a file's name asks for: ".csv" and ".json" (in any letter
    // case) the exports, anything else the HTML report.
    static Format formatOf(const QString& path);
    // The save dialog's filter, in the "description|pattern|..." form: report
    // files of the private zone are private collection files. The exports
    // are offered after them.
    static QString dialogFilter(bool privateZone);
    // Creates or replaces the file, whole or not at all. Returns an error
    // text, empty on success.
    static Expected<void> write(const HarvestState& state, const QString& path,
                                Format format = Format::Html);
    // The whole command: asks for a file name starting in `folder`, then
    // writes. Cancel writes nothing. No message is shown either way; the
    // outcome tells the window what happened.
    static SaveOutcome save(const HarvestState& state, bool privateZone, Prompts& prompts,
                            const QString& folder);
};
