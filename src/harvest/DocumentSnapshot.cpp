#include "harvest/DocumentSnapshot.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantList>

namespace {

QString text(const QVariantMap& map, const char* key) {
    return map.value(QLatin1String(key)).toString();
}

QVariantList list(const QVariantMap& map, const char* key) {
    return map.value(QLatin1String(key)).toList();
}

QList<DocumentSnapshot::Link> linksFrom(const QVariantList& items) {
    QList<DocumentSnapshot::Link> links;
    links.reserve(items.size());
    for (const QVariant& item : items) {
        const QVariantMap link = item.toMap();
        links.append({text(link, "href"), text(link, "outerText")});
    }
    return links;
}

QList<DocumentSnapshot::Meta> metasFrom(const QVariantList& items) {
    QList<DocumentSnapshot::Meta> metas;
    metas.reserve(items.size());
    for (const QVariant& item : items) {
        const QVariantMap meta = item.toMap();
        metas.append({text(meta, "name"), text(meta, "content")});
    }
    return metas;
}

QStringList textsFrom(const QVariantList& items) {
    QStringList texts;
    texts.reserve(items.size());
    for (const QVariant& item : items)
        texts.append(item.toString());
    return texts;
}

} // namespace

QString DocumentSnapshot::Limits::json() {
    const QJsonObject limits{
        {QStringLiteral("links"), kLinks},          {QStringLiteral("pictures"), kPictures},
        {QStringLiteral("metas"), kMetas},          {QStringLiteral("paragraphs"), kParagraphs},
        {QStringLiteral("frames"), kFrames},        {QStringLiteral("textLength"), kTextLength},
        {QStringLiteral("characters"), kCharacters}};
    return QString::fromUtf8(QJsonDocument(limits).toJson(QJsonDocument::Compact));
}

DocumentSnapshot DocumentSnapshot::fromVariant(const QVariantMap& map) {
    DocumentSnapshot snapshot;
    snapshot.url = text(map, "url");
    snapshot.title = text(map, "title");
    snapshot.domain = text(map, "domain");
    snapshot.bodyTagName = text(map, "bodyTagName");
    snapshot.links = linksFrom(list(map, "links"));
    snapshot.imageSources = textsFrom(list(map, "imageSources"));
    snapshot.metas = metasFrom(list(map, "metas"));
    snapshot.paragraphs = textsFrom(list(map, "paragraphs"));
    for (const QVariant& frame : list(map, "frames"))
        snapshot.frames.append(fromVariant(frame.toMap()));
    return snapshot;
}
