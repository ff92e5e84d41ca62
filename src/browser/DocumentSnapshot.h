#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

// A loaded document read once, as data: what the harvest and the window
// need of a page, for the page itself and for each frame whose document
// could be reached.
struct DocumentSnapshot {
    struct Link {
        QString href;
        QString outerText;
    };
    struct Meta {
        QString name;
        QString content;
    };

    QString url;
    QString title;
    QString domain;
    QString bodyTagName;
    QList<Link> links;
    QStringList imageSources;
    QList<Meta> metas;      // in document order
    QStringList paragraphs; // outerText of every P element
    QList<DocumentSnapshot> frames;

    // False for the engine's own page shown in place of a page that could
    // not be loaded, and for a snapshot that could not be taken.
    bool isLoadedPage() const {
        return !url.isEmpty() && !url.startsWith(QLatin1String("chrome-error:"));
    }

    // From the extractor script's result.
    static DocumentSnapshot fromVariant(const QVariantMap& map);
};
