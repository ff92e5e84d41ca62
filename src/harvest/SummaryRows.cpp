#include "harvest/SummaryRows.h"

#include "harvest/WebMarkup.h"

QString SummaryRows::titleRow(const QString& url, const QString& text) {
    return QStringLiteral("<tr><td width='100%' bgcolor='#FFFF00'><strong><font face='Arial'>") +
           WebMarkup::anchor(url) + WebMarkup::text(text) + QStringLiteral("</a>") +
           QStringLiteral("</font></strong></td></tr>");
}

QString SummaryRows::descriptionRow(const QString& content) {
    return QStringLiteral(
               "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>DESCRIPTION: ") +
           WebMarkup::text(content) + QStringLiteral("</font></small></td></tr>");
}

QString SummaryRows::keywordsRow(const QString& content) {
    return QStringLiteral(
               "<tr><td width='100%' bgcolor='#00FFFF'><small><font face='Arial'>KYEWORDS: ") +
           WebMarkup::text(content) + QStringLiteral("</font></small></td></tr>");
}

QString SummaryRows::emailRow(const QString& mailtoUrl, const QString& text) {
    return QStringLiteral("<tr><td width='100%' bgcolor='#00FFFF'><font face='Arial'><small>") +
           WebMarkup::anchor(mailtoUrl) + WebMarkup::text(text) +
           QStringLiteral("</a></small></font></td></tr>");
}

QString SummaryRows::paragraphRow(const QString& text) {
    return QStringLiteral("<tr><td><p>") + WebMarkup::text(text) + QStringLiteral("</p></td></tr>");
}

QString SummaryRows::imageRow(const QStringList& sources) {
    QString pictures;
    for (const QString& source : sources)
        pictures += WebMarkup::picture(source);
    return QStringLiteral("<tr><td width=100%> ") + pictures + QStringLiteral("</td></tr>");
}
