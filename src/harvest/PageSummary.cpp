#include "harvest/PageSummary.h"

#include "harvest/HarvestState.h"
#include "harvest/SummaryRows.h"
#include "platform/Prompts.h"
#include "web/DocumentSnapshot.h"

namespace {

// Only these spellings of the two META names count.
const QStringList descriptionNames{QStringLiteral("DESCRIPTION"), QStringLiteral("Description"),
                                   QStringLiteral("description")};
const QStringList keywordsNames{QStringLiteral("KEYWORDS"), QStringLiteral("Keywords"),
                                QStringLiteral("keywords")};

bool containsCaseless(const QString& text, const QString& part) {
    return text.contains(part, Qt::CaseInsensitive);
}

} // namespace

QStringList PageSummary::addLinkSummary(const DocumentSnapshot& document, HarvestState& state,
                                        QStringList& keywords, bool& collectImages,
                                        Prompts& prompts) {
    if (prompts.askYesNo(QStringLiteral("Would You like collect images ?"),
                         QStringLiteral("Question???")))
        collectImages = true;
    QStringList rows{titleRow(document)};
    rows += metaRows(document);
    rows += emailRows(document);
    rows += paragraphRows(document, keywords);
    keywords.clear();
    if (collectImages)
        rows += imageRows(document);
    collectImages = false;
    state.reportBuffer += rows;
    return rows;
}

QStringList PageSummary::reportSummary(const DocumentSnapshot& document, HarvestState& state,
                                       const QStringList& keywords, bool collectImages) {
    const QStringList rows = reportRows(document, keywords, collectImages);
    state.reportBuffer += rows;
    return rows;
}

// A snapshot holds only the frames the page really has, so the recursion
// ends even for a page that frames itself.
QStringList PageSummary::reportRows(const DocumentSnapshot& document, const QStringList& keywords,
                                    bool collectImages) {
    QStringList rows{titleRow(document)};
    rows += metaRows(document);
    rows += paragraphRows(document, keywords);
    rows += emailRows(document);
    if (collectImages)
        rows += imageRows(document);
    for (const DocumentSnapshot& frame : document.frames)
        rows += reportRows(frame, keywords, collectImages);
    return rows;
}

QString PageSummary::titleRow(const DocumentSnapshot& document) {
    const QString text = document.title.isEmpty() ? document.url : document.title;
    return SummaryRows::titleRow(document.url, text);
}

QStringList PageSummary::metaRows(const DocumentSnapshot& document) {
    QStringList rows;
    for (const DocumentSnapshot::Meta& meta : document.metas) {
        if (descriptionNames.contains(meta.name)) {
            rows += SummaryRows::descriptionRow(cutContent(meta.content));
        } else if (keywordsNames.contains(meta.name)) {
            rows += SummaryRows::keywordsRow(cutContent(meta.content));
            break;
        }
    }
    return rows;
}

QStringList PageSummary::emailRows(const DocumentSnapshot& document) {
    QStringList rows;
    for (const DocumentSnapshot::Link& link : document.links) {
        if (!containsCaseless(link.href, QStringLiteral("mailto:")))
            continue;
        const QString text = link.outerText.isEmpty() ? link.href : link.outerText;
        rows += SummaryRows::emailRow(link.href, text);
    }
    return rows;
}

QStringList PageSummary::paragraphRows(const DocumentSnapshot& document,
                                       const QStringList& keywords) {
    QStringList rows;
    if (!hasBody(document))
        return rows;
    for (const QString& paragraph : document.paragraphs) {
        for (const QString& keyword : keywords) {
            if (containsCaseless(paragraph, keyword))
                rows += SummaryRows::paragraphRow(paragraph);
        }
    }
    return rows;
}

QStringList PageSummary::imageRows(const DocumentSnapshot& document) {
    if (!hasBody(document))
        return {};
    QStringList sources;
    for (const DocumentSnapshot::Link& link : document.links) {
        if (containsCaseless(link.href, QStringLiteral(".jpg")) ||
            containsCaseless(link.href, QStringLiteral(".gif")))
            sources += link.href;
    }
    sources += document.imageSources;
    if (sources.isEmpty())
        return {};
    return {SummaryRows::imageRow(sources)};
}

// A frameset page has no BODY element; it gives no paragraph or image rows.
bool PageSummary::hasBody(const DocumentSnapshot& document) {
    return document.bodyTagName == QLatin1String("BODY");
}

// Content longer than 1000 characters keeps its first 999.
QString PageSummary::cutContent(const QString& content) {
    return content.size() > 1000 ? content.left(999) : content;
}
