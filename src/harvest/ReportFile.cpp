#include "harvest/ReportFile.h"

#include "files/TextFile.h"
#include "harvest/HarvestExport.h"
#include "harvest/HarvestState.h"
#include "harvest/WebMarkup.h"
#include "platform/Prompts.h"

QString ReportFile::content(const HarvestState& state) {
    return QStringLiteral("<html>\r\n\r\n<title>Report</title>") + WebMarkup::noScriptPolicy() +
           QStringLiteral("<body>") + state.reportBuffer.join(QString()) +
           QStringLiteral("</body>\r\n</html>\r\n");
}

QString ReportFile::content(const HarvestState& state, Format format) {
    switch (format) {
    case Format::Csv:
        return HarvestExport::csv(state.findings);
    case Format::Json:
        return HarvestExport::json(state.findings);
    case Format::Html:
        break;
    }
    return content(state);
}

ReportFile::Format ReportFile::formatOf(const QString& path) {
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return Format::Csv;
    if (path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        return Format::Json;
    return Format::Html;
}

QString ReportFile::dialogFilter(bool privateZone) {
    const QString exports = QStringLiteral("|CSV file (*.csv)|*.csv|JSON file (*.json)|*.json");
    if (privateZone)
        return QStringLiteral("Private collection file (*.prv)|*.prv") + exports;
    return QStringLiteral(
               "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf") +
           exports;
}

Expected<void> ReportFile::write(const HarvestState& state, const QString& path, Format format) {
    return TextFile::writeText(path, content(state, format));
}

ReportFile::SaveOutcome ReportFile::save(const HarvestState& state, bool privateZone,
                                         Prompts& prompts, const QString& folder) {
    SaveOutcome outcome;
    // The report is taken before the dialog, as the user saw the buffer
    // when choosing the command.
    const HarvestState shown = state;
    const auto path = prompts.saveFile(dialogFilter(privateZone), folder);
    if (!path || path->isEmpty())
        return outcome;
    outcome.path = *path;
    const Expected<void> written = write(shown, *path, formatOf(*path));
    outcome.error = written.error();
    outcome.written = written.ok();
    return outcome;
}
