#include "project/SettingsFile.h"

#include "files/TextFile.h"

#include <QStringList>
#include <array>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The marker lines, in file order. The first section (the e-mail order form
// tag) has no marker before it; "[GoBack]" holds no value.
enum Marker { GoBack, Font, Table, Start, Tax, Action, MarkerCount };
const std::array<QString, MarkerCount> kMarkers = {
    QStringLiteral("[GoBack]"), QStringLiteral("[Font]"), QStringLiteral("[Table]"),
    QStringLiteral("[Start]"),  QStringLiteral("[Tax]"),  QStringLiteral("[Action]")};

// A value and the line end after it; an empty value becomes two empty lines.
QString valueText(const QString& value) {
    return value.isEmpty() ? kCrLf + kCrLf : value + kCrLf;
}

QString markerText(Marker marker) {
    return kMarkers[marker] + kCrLf;
}

// The line index of each marker, searched in file order; -1 when missing.
std::array<qsizetype, MarkerCount> markerLines(const QStringList& lines) {
    std::array<qsizetype, MarkerCount> found{};
    qsizetype from = 0;
    for (int m = 0; m < MarkerCount; ++m) {
        found[m] = lines.indexOf(kMarkers[m], from);
        if (found[m] >= 0)
            from = found[m] + 1;
    }
    return found;
}

// The lines of a section turned back into its value. Two empty lines stand
// for an empty value; otherwise the lines are rejoined, so a final empty
// line gives back the value's own closing line end.
QString sectionValue(const QStringList& lines, qsizetype first, qsizetype end) {
    const QStringList section = lines.mid(first, end - first);
    if (section == QStringList{QString(), QString()})
        return {};
    return section.join(kCrLf);
}

// Replaces `value` with the section between two found lines; a section
// whose bounds are missing keeps the value it had.
void takeSection(QString& value, const QStringList& lines, qsizetype first, qsizetype end) {
    if (first >= 0 && end >= first)
        value = sectionValue(lines, first, end);
}

} // namespace

QString SettingsFile::write(const SiteSettings& settings) {
    return valueText(settings.emailFormTag) + markerText(GoBack) + kCrLf + kCrLf +
           markerText(Font) + valueText(settings.fontTag) + markerText(Table) +
           valueText(settings.tableTag) + markerText(Start) + valueText(settings.startFileName) +
           markerText(Tax) + valueText(settings.salesTax) + markerText(Action) +
           valueText(settings.actionCode);
}

SiteSettings SettingsFile::read(const QString& text, const SiteSettings& base) {
    const QStringList lines = TextFile::splitLines(text);
    const auto at = markerLines(lines);
    const auto after = [&at](Marker m) { return at[m] < 0 ? qsizetype(-1) : at[m] + 1; };

    SiteSettings settings = base;
    takeSection(settings.emailFormTag, lines, at[GoBack] < 0 ? -1 : 0, at[GoBack]);
    takeSection(settings.fontTag, lines, after(Font), at[Table]);
    takeSection(settings.tableTag, lines, after(Table), at[Start]);
    takeSection(settings.startFileName, lines, after(Start), at[Tax]);
    takeSection(settings.salesTax, lines, after(Tax), at[Action]);
    takeSection(settings.actionCode, lines, after(Action), lines.size());
    return settings;
}
