#include "harvest/SummaryRows.h"

QString SummaryRows::titleRow(const QString& url, const QString& text) {
    return QStringLiteral("<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'>") +
           QStringLiteral("<a href='") + url + QStringLiteral("'>") + text +
           QStringLiteral("</a>") + QStringLiteral("</font></strong></td></tr>");
}

QString SummaryRows::descriptionRow(const QString& content) {
    return QStringLiteral(
               "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>DESCRIPTION: ") +
           content + QStringLiteral("</font></small></td></tr>");
}

QString SummaryRows::keywordsRow(const QString& content) {
    return QStringLiteral(
               "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>KYEWORDS: ") +
           content + QStringLiteral("</font></small></td></tr>");
}

QString SummaryRows::emailRow(const QString& mailtoUrl, const QString& text) {
    return QStringLiteral(
               "<tr><td width='100%' bgcolor='#00FFFF'><font face='Arial'><small><a href='") +
           mailtoUrl + QStringLiteral("'>") + text + QStringLiteral("</small></font></td></tr>");
}

QString SummaryRows::paragraphRow(const QString& text) {
    return QStringLiteral("<tr><td><p>") + text + QStringLiteral("</p></td></tr>");
}

QString SummaryRows::imageRow(const QStringList& sources) {
    QString pictures;
    for (const QString& source : sources)
        pictures += QStringLiteral("<img src='") + source + QStringLiteral("'>");
    return QStringLiteral("<tr><td width=100%> ") + pictures + QStringLiteral("</td></tr>");
}
