#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

// A loaded document read once, as data: what the harvest and the window
// need of a page, for the page itself and for each frame whose document
// could be reached.
struct DocumentSnapshot {
    // The most a snapshot takes from a page and its frames together, so
    // that a page built to be huge (tens of thousands of elements, or
    // nested paragraphs whose texts repeat each other) is read in bounded
    // time and memory. Ordinary pages stay well within them and are read
    // whole. Every text (address, link text, title, META name and content,
    // paragraph) is cut at kTextLength characters, and all texts together
    // at kCharacters.
    struct Limits {
        static constexpr int kLinks = 5000;
        static constexpr int kPictures = 2000;
        static constexpr int kMetas = 200;
        static constexpr int kParagraphs = 2000;
        static constexpr int kFrames = 100;
        static constexpr int kTextLength = 8192;
        static constexpr int kCharacters = 4000000;
        // The limits as the extractor script's argument.
        static QString json();
    };

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
