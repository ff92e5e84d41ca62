#include "harvest/PageSummary.h"

#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkRow.h"
#include "harvest/PageFindings.h"
#include "harvest/SummaryRows.h"
#include "platform/Prompts.h"

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
    QList<Finding> findings{titleFinding(document)};
    findings += metaFindings(document);
    findings += emailFindings(document);
    findings += paragraphFindings(document, keywords);
    keywords.clear();
    if (collectImages)
        findings += pictureFindings(document);
    collectImages = false;
    return record(document, findings, state);
}

QStringList PageSummary::reportSummary(const DocumentSnapshot& document, HarvestState& state,
                                       const QStringList& keywords, bool collectImages) {
    QList<Finding> findings{titleFinding(document)};
    findings += metaFindings(document);
    findings += paragraphFindings(document, keywords);
    findings += emailFindings(document);
    if (collectImages)
        findings += pictureFindings(document);
    QStringList rows = record(document, findings, state);
    // A snapshot holds only the frames the page really has, so the
    // recursion ends even for a page that frames itself.
    for (const DocumentSnapshot& frame : document.frames)
        rows += reportSummary(frame, state, keywords, collectImages);
    return rows;
}

// The findings go into the report buffer as rows and beside it as data.
QStringList PageSummary::record(const DocumentSnapshot& document, const QList<Finding>& findings,
                                HarvestState& state) {
    const QStringList rows = rowsOf(document, findings);
    state.reportBuffer += rows;
    state.findings.append(
        PageFindings{document.url, document.title, QDateTime::currentDateTimeUtc(), findings});
    return rows;
}

QString PageSummary::titleRow(const DocumentSnapshot& document) {
    return rowsOf(document, {titleFinding(document)}).first();
}

QStringList PageSummary::metaRows(const DocumentSnapshot& document) {
    return rowsOf(document, metaFindings(document));
}

QStringList PageSummary::emailRows(const DocumentSnapshot& document) {
    return rowsOf(document, emailFindings(document));
}

QStringList PageSummary::paragraphRows(const DocumentSnapshot& document,
                                       const QStringList& keywords) {
    return rowsOf(document, paragraphFindings(document, keywords));
}

QStringList PageSummary::imageRows(const DocumentSnapshot& document) {
    return rowsOf(document, pictureFindings(document));
}

PageSummary::Finding PageSummary::titleFinding(const DocumentSnapshot& document) {
    return {Kind::Title, document.title, {}};
}

QList<PageSummary::Finding> PageSummary::metaFindings(const DocumentSnapshot& document) {
    QList<Finding> findings;
    for (const DocumentSnapshot::Meta& meta : document.metas) {
        if (descriptionNames.contains(meta.name)) {
            findings += Finding{Kind::Description, cutContent(meta.content), {}};
        } else if (keywordsNames.contains(meta.name)) {
            findings += Finding{Kind::Keywords, cutContent(meta.content), {}};
            break;
        }
    }
    return findings;
}

QList<PageSummary::Finding> PageSummary::emailFindings(const DocumentSnapshot& document) {
    QList<Finding> findings;
    for (const DocumentSnapshot::Link& link : document.links) {
        if (containsCaseless(link.href, QStringLiteral("mailto:")))
            findings += Finding{Kind::Email, link.href, link.outerText};
    }
    return findings;
}

QList<PageSummary::Finding> PageSummary::paragraphFindings(const DocumentSnapshot& document,
                                                           const QStringList& keywords) {
    QList<Finding> findings;
    if (!hasBody(document))
        return findings;
    for (const QString& paragraph : document.paragraphs) {
        for (const QString& keyword : keywords) {
            if (containsCaseless(paragraph, keyword))
                findings += Finding{Kind::Paragraph, paragraph, {}};
        }
    }
    return findings;
}

QList<PageSummary::Finding> PageSummary::pictureFindings(const DocumentSnapshot& document) {
    QList<Finding> findings;
    if (!hasBody(document))
        return findings;
    for (const DocumentSnapshot::Link& link : document.links) {
        if (containsCaseless(link.href, QStringLiteral(".jpg")) ||
            containsCaseless(link.href, QStringLiteral(".gif")))
            findings += Finding{Kind::Picture, link.href, {}};
    }
    for (const QString& source : document.imageSources)
        findings += Finding{Kind::Picture, source, {}};
    return findings;
}

// One row per finding, except that the pictures share one row. A page
// without a title shows its URL; an e-mail link without text its URL.
QStringList PageSummary::rowsOf(const DocumentSnapshot& document, const QList<Finding>& findings) {
    QStringList rows;
    QStringList pictures;
    for (const Finding& finding : findings) {
        const QString& text = finding.text;
        switch (finding.kind) {
        case Kind::Title:
            rows += SummaryRows::titleRow(document.url, text.isEmpty() ? document.url : text);
            break;
        case Kind::Description:
            rows += SummaryRows::descriptionRow(text);
            break;
        case Kind::Keywords:
            rows += SummaryRows::keywordsRow(text);
            break;
        case Kind::Email:
            rows += SummaryRows::emailRow(text, finding.label.isEmpty() ? text : finding.label);
            break;
        case Kind::Paragraph:
            rows += SummaryRows::paragraphRow(text);
            break;
        case Kind::Picture:
            pictures += text;
            break;
        case Kind::Link:
            rows += LinkRow::make(text, finding.label);
            break;
        }
    }
    if (!pictures.isEmpty())
        rows += SummaryRows::imageRow(pictures);
    return rows;
}

// A frameset page has no BODY element; it gives no paragraph or image rows.
bool PageSummary::hasBody(const DocumentSnapshot& document) {
    return document.bodyTagName == QLatin1String("BODY");
}

// Content longer than 1000 characters keeps its first 999.
QString PageSummary::cutContent(const QString& content) {
    return content.size() > 1000 ? content.left(999) : content;
}
