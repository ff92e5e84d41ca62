#include "harvest/ReportFile.h"

#include "harvest/HarvestState.h"
#include "harvest/WebMarkup.h"
#include "platform/Prompts.h"
#include "platform/TextFile.h"

QString ReportFile::content(const HarvestState& state) {
    return QStringLiteral("<html>\r\n\r\n<title>Report</title>") + WebMarkup::noScriptPolicy() +
           QStringLiteral("<body>") + state.reportBuffer.join(QString()) +
           QStringLiteral("</body>\r\n</html>\r\n");
}

QString ReportFile::dialogFilter(bool privateZone) {
    if (privateZone)
        return QStringLiteral("Private collection file (*.prv)|*.prv");
    return QStringLiteral(
        "HTML file (*.htm;*.html)|*.htm;*.html|Text File (*.txt;*.rtf)|*.txt;*.rtf");
}

QString ReportFile::write(const HarvestState& state, const QString& path) {
    return TextFile::writeText(path, content(state));
}

ReportFile::SaveOutcome ReportFile::save(const HarvestState& state, bool privateZone,
                                         Prompts& prompts, const QString& folder) {
    SaveOutcome outcome;
    // The content is taken before the dialog, as the user saw the buffer
    // when choosing the command.
    const QString text = content(state);
    const auto path = prompts.saveFile(dialogFilter(privateZone), folder);
    if (!path || path->isEmpty())
        return outcome;
    outcome.path = *path;
    outcome.error = TextFile::writeText(*path, text);
    outcome.written = outcome.error.isEmpty();
    return outcome;
}
