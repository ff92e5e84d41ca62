#include "harvest/HarvestExport.h"

#include "text/CsvText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QUrl>

namespace {

using Finding = PageFindings::Finding;

QString timeText(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODate);
}

} // namespace

QStringList HarvestExport::addresses(const QString& mailtoUrl) {
    QString rest = mailtoUrl.trimmed();
    rest = rest.mid(rest.indexOf(QLatin1Char(':')) + 1);
    rest = rest.left(rest.indexOf(QLatin1Char('?')));
    QStringList found;
    for (const QString& part : QUrl::fromPercentEncoding(rest.toUtf8()).split(QLatin1Char(',')))
        if (!part.trimmed().isEmpty())
            found << part.trimmed();
    return found;
}

QString HarvestExport::addressKey(const QString& address) {
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    return at < 0 ? address : address.left(at) + address.mid(at).toLower();
}

QList<Finding> HarvestExport::exported(const PageFindings& page) {
    QList<Finding> findings;
    QSet<QString> seen;
    for (const Finding& finding : page.findings) {
        if (finding.kind != Finding::Kind::Email) {
            findings << finding;
            continue;
        }
        for (const QString& address : addresses(finding.text)) {
            const QString key = addressKey(address);
            if (seen.contains(key))
                continue;
            seen.insert(key);
            findings << Finding{Finding::Kind::Email, address, finding.label};
        }
    }
    return findings;
}

QString HarvestExport::csv(const QList<PageFindings>& pages) {
    QString text = QStringLiteral("kind,text,url,page_title,found_at\r\n");
    for (const PageFindings& page : pages) {
        for (const Finding& finding : exported(page)) {
            text += CsvText::line({PageFindings::kindName(finding.kind),
                                   CsvText::guarded(finding.text), CsvText::guarded(page.url),
                                   CsvText::guarded(page.title), timeText(page.foundAt)}) +
                    QStringLiteral("\r\n");
        }
    }
    return text;
}

QString HarvestExport::json(const QList<PageFindings>& pages) {
    QJsonArray pageArray;
    QList<QPair<QString, QStringList>> emails; // each address with its pages
    QHash<QString, qsizetype> emailIndex;
    for (const PageFindings& page : pages) {
        QJsonArray findings;
        for (const Finding& finding : exported(page)) {
            QJsonObject item{{"kind", PageFindings::kindName(finding.kind)},
                             {"text", finding.text}};
            if (!finding.label.isEmpty())
                item.insert("label", finding.label);
            findings.append(item);
            if (finding.kind != Finding::Kind::Email)
                continue;
            const QString key = addressKey(finding.text);
            if (!emailIndex.contains(key)) {
                emailIndex.insert(key, emails.size());
                emails.append({finding.text, {}});
            }
            QStringList& addressPages = emails[emailIndex.value(key)].second;
            if (!addressPages.contains(page.url))
                addressPages << page.url;
        }
        pageArray.append(QJsonObject{{"url", page.url},
                                     {"title", page.title},
                                     {"found_at", timeText(page.foundAt)},
                                     {"findings", findings}});
    }
    QJsonArray emailArray;
    for (const auto& [address, addressPages] : emails)
        emailArray.append(
            QJsonObject{{"address", address}, {"pages", QJsonArray::fromStringList(addressPages)}});
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{"pages", pageArray}, {"emails", emailArray}})
            .toJson(QJsonDocument::Indented));
}
