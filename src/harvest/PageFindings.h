#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// What the harvest found on one page (or frame), as data beside the report
// rows: every text exactly as the page gave it, for the CSV and JSON
// exports.
struct PageFindings {
    struct Finding {
        enum class Kind { Title, Description, Keywords, Paragraph, Email, Picture, Link };
        Kind kind = Kind::Title;
        // The title, META content, paragraph, mailto address (the whole
        // "mailto:" URL), picture or link address.
        QString text;
        // The link text of an e-mail link or a link.
        QString label;
    };

    QString url;
    QString title;
    QDateTime foundAt; // UTC
    QList<Finding> findings;

    // The name of a kind in the exports: "title", "description", "keywords",
    // "paragraph", "e-mail", "picture" or "link".
    static QString kindName(Finding::Kind kind);
};
