#pragma once

#include "harvest/PageFindings.h"

#include <QList>
#include <QString>
#include <QStringList>

struct DocumentSnapshot;
class HarvestState;
class Prompts;

// The page summary: the rows that tell how to reach a page's owner - its
// title, its META description and keywords, its e-mail links, the
// paragraphs that name a contact keyword and, on request, its pictures.
// "Add Link" takes it of the page in view 1; the page reader takes it of
// every page it reads for the full report. Both append to the report buffer,
// and the same findings, as data, to the harvest's findings.
class PageSummary {
public:
    // The "Add Link" form of one document (its frames are not included):
    // asks whether to collect images, adds the title, META, e-mail and
    // paragraph rows, clears `keywords` (the search-words box's items), adds
    // the image row if `collectImages` is set, and clears `collectImages`.
    // Returns the rows it appended.
    static QStringList addLinkSummary(const DocumentSnapshot& document, HarvestState& state,
                                      QStringList& keywords, bool& collectImages, Prompts& prompts);
    // The report form: title, META, paragraph and e-mail rows, the image row
    // if `collectImages` is set, then the same for every frame, however deep
    // the page nests them. Returns the rows it appended.
    static QStringList reportSummary(const DocumentSnapshot& document, HarvestState& state,
                                     const QStringList& keywords, bool collectImages);

    // The row rules.
    // The title, or the URL for a page without one, linked to the URL.
    static QString titleRow(const DocumentSnapshot& document);
    // A row per description META, up to and including the first keywords META.
    static QStringList metaRows(const DocumentSnapshot& document);
    // A row per "mailto:" link, repeats included.
    static QStringList emailRows(const DocumentSnapshot& document);
    // A row per paragraph and keyword it contains, case-insensitively.
    static QStringList paragraphRows(const DocumentSnapshot& document, const QStringList& keywords);
    // One row with every .jpg/.gif link and every image, or none.
    static QStringList imageRows(const DocumentSnapshot& document);

private:
    using Finding = PageFindings::Finding;
    using Kind = Finding::Kind;

    static QStringList record(const DocumentSnapshot& document, const QList<Finding>& findings,
                              HarvestState& state);
    static Finding titleFinding(const DocumentSnapshot& document);
    static QList<Finding> metaFindings(const DocumentSnapshot& document);
    static QList<Finding> emailFindings(const DocumentSnapshot& document);
    static QList<Finding> paragraphFindings(const DocumentSnapshot& document,
                                            const QStringList& keywords);
    static QList<Finding> pictureFindings(const DocumentSnapshot& document);
    static QStringList rowsOf(const DocumentSnapshot& document, const QList<Finding>& findings);
    static bool hasBody(const DocumentSnapshot& document);
    static QString cutContent(const QString& content);
};
