#include "sitegen/SiteGenerator.h"

#include "platform/Logging.h"
#include "shop/NameRules.h"
#include "shop/PictureFile.h"
#include "sitegen/BasketPages.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/FramePages.h"
#include "sitegen/ListingPages.h"
#include "sitegen/OrderPages.h"
#include "sitegen/PageFileWriter.h"
#include "sitegen/PagesLayout.h"
#include "text/ScriptText.h"

#include <QDir>
#include <QHash>

namespace {

// Two names with the same script name would share one catalog array and
// one remove function on every page.
QStringList scriptNameClashes(const SiteInput& input) {
    QStringList problems;
    QHash<QString, QString> seen;
    for (const SiteCategory& category : input.categories) {
        const QString name = ScriptText::identifier(category.name);
        if (seen.contains(name))
            problems << QStringLiteral("The categories \"%1\" and \"%2\" cannot both be in one "
                                       "shop: the shop's script would mix up their items. Rename "
                                       "one of them.")
                            .arg(seen.value(name), category.name);
        else
            seen.insert(name, category.name);
    }
    return problems;
}

// Category names become file names: one that would reach outside the
// project folder is refused, and so are two names that the shop's script
// would mix up.
QStringList nameProblems(const SiteInput& input) {
    QStringList problems;
    for (const SiteCategory& category : input.categories) {
        const Expected<void> usable = NameRules::check(category.name, QStringLiteral("category"));
        if (!usable)
            problems << QStringLiteral("\"%1\": %2").arg(category.name, usable.error());
    }
    return problems << scriptNameClashes(input);
}

// Everything that keeps the site from being written, in the order the
// merchant reads it; empty when nothing does. Prices go into the catalog
// script unquoted: one that is not a number would stop every page of the
// shop. An item address could carry markup into the shop's pages.
QStringList problems(const SiteInput& input, const QStringList& names,
                     const QStringList& siteProblems) {
    QStringList found = names;
    const SiteInput::ItemFaults faults = input.itemFaults();
    if (!faults.badPrices.isEmpty())
        found << QStringLiteral("These items have a retail price that is not a number:")
              << faults.badPrices;
    if (!faults.unsafeAddresses.isEmpty())
        found << QStringLiteral("These items have a picture or description address "
                                "with quotes, angle brackets or control characters:")
              << faults.unsafeAddresses;
    return found << siteProblems;
}

// The rate goes into every order page's script unquoted, so a rate that is
// not a number would stop those pages in the shopper's browser.
QStringList taxRateProblems(const SiteInput& input) {
    const QString& rate = input.settings.salesTax;
    if (ScriptText::isPrice(rate.toUtf8()))
        return {};
    return {QStringLiteral("The \"Sales Tax,%\" rate must be a number such as 0.0825 (a fraction, "
                           "not a percentage), not \"%1\".")
                .arg(rate)};
}

// The start page must be a file of its own in the project folder: a name
// that another page of the site takes would be overwritten later in the run.
QStringList startFileProblems(const SiteInput& input) {
    static const QStringList kSitePages{
        QStringLiteral("fsecond"),        QStringLiteral("banner"),    QStringLiteral("mmenu"),
        QStringLiteral("compinfo"),       QStringLiteral("ols"),       QStringLiteral("m_products"),
        QStringLiteral("basket"),         QStringLiteral("wbasket"),   QStringLiteral("order"),
        QStringLiteral("order1"),         QStringLiteral("order_cod"), QStringLiteral("order_cc"),
        QStringLiteral("select_payment"), QStringLiteral("worder"),    QStringLiteral("worder_cod"),
        QStringLiteral("worder_cc"),      QStringLiteral("complect")};
    const QString& name = input.settings.startFileName;
    if (const Expected<void> usable = NameRules::check(name, QStringLiteral("start file")); !usable)
        return {usable.error()};
    bool taken = kSitePages.contains(name, Qt::CaseInsensitive);
    for (const SiteCategory& category : input.categories)
        taken =
            taken || ListingPages::pageName(category.name).compare(name, Qt::CaseInsensitive) == 0;
    if (taken)
        return {QStringLiteral("The start file name \"%1\" is the name of another page of the "
                               "site; choose another name.")
                    .arg(name)};
    return {};
}

// A page style's colour goes into its page's body tag: one that is not
// "#rrggbb" is never written, so it is named here rather than dropped unseen.
QStringList colourProblems(const ShopIdentity& identity) {
    QStringList problems;
    for (const ShopIdentity::Page page : ShopIdentity::kPages) {
        const PageStyle& style = identity.style(page);
        const std::pair<QString, QString> colours[] = {
            {QStringLiteral("background colour"), style.backgroundColour},
            {QStringLiteral("text colour"), style.textColour}};
        for (const auto& [what, colour] : colours) {
            if (!colour.isEmpty() && !ShopIdentity::isColour(colour))
                problems << QStringLiteral("The %1 of the \"%2\" page style must be # and six "
                                           "hexadecimal digits, such as #ffcc00, not \"%3\".")
                                .arg(what, ShopIdentity::caption(page), colour);
        }
    }
    return problems;
}

// A file of the site holding these bytes.
PageFileWriter::FileText bytesFile(const QString& name, const QByteArray& bytes) {
    return {name, [bytes](const PageFileWriter::TextOut& out) { out(bytes); }};
}

// The shop's pictures as files of the site, and the messages of those
// refused. Each is read and checked once, so the bytes copied are the
// bytes checked. A path that is not absolute is taken from the project
// folder, so a project that keeps its pictures inside can be moved.
struct SitePictureFiles {
    QList<PageFileWriter::FileText> files;
    QStringList problems;
};

SitePictureFiles pictureFiles(const QString& folder, const ShopIdentity& identity) {
    SitePictureFiles pictures;
    for (const SitePicture& picture : identity.pictures()) {
        Expected<QByteArray> bytes =
            PictureFile::read(QDir(folder).absoluteFilePath(picture.source));
        if (!bytes)
            pictures.problems << bytes.error();
        else
            pictures.files << bytesFile(picture.siteName, *bytes);
    }
    return pictures;
}

// The catalog holds every item: it goes to the file in pieces.
PageFileWriter::FileText catalogScript(const SiteInput& input) {
    return {QString::fromLatin1(CatalogScript::kFileName),
            [&input](const PageFileWriter::TextOut& out) { CatalogScript::write(input, out); }};
}

QList<PageFileWriter::FileText> frames(const SiteInput& input) {
    using W = PageFileWriter;
    QList<W::FileText> files{W::page(input.settings.startFileName, FramePages::startPage(input))};
    if (input.settings.layout == SiteSettings::Layout::BannerAndContents)
        files << W::page(QStringLiteral("fsecond"), FramePages::secondFrameset());
    files << W::page(QStringLiteral("banner"), FramePages::banner(input))
          << W::page(QStringLiteral("mmenu"), FramePages::mainMenu(input))
          << W::page(QStringLiteral("compinfo"), FramePages::companyPage(input))
          << W::page(QStringLiteral("ols"), FramePages::storePage())
          << W::page(QStringLiteral("m_products"), FramePages::productsMenu(input));
    return files;
}

QList<PageFileWriter::FileText> pages(const QList<NamedPage>& pages) {
    QList<PageFileWriter::FileText> files;
    for (const NamedPage& page : pages)
        files << PageFileWriter::page(page.name, page.text);
    return files;
}

// The framed shop's files after its pictures: the frames and menus, the
// listing pages, the baskets, the order pages and "Do Your self".
QList<PageFileWriter::FileText> framedShop(const SiteInput& input) {
    using W = PageFileWriter;
    QList<W::FileText> files = frames(input);
    for (qsizetype k = 0; k < input.categories.size(); ++k)
        files << W::page(ListingPages::pageName(input.categories.at(k).name),
                         ListingPages::listingPage(input, k));
    files << W::page(QStringLiteral("basket"), BasketPages::retail(input))
          << W::page(QStringLiteral("wbasket"), BasketPages::wholesale(input))
          << pages(OrderPages::retailPages(input)) << pages(OrderPages::wholesalePages(input))
          << W::pageInPieces(QStringLiteral("complect"), [&input](const W::TextOut& out) {
                 ListingPages::combinedPage(input, out);
             });
    return files;
}

// The shop without frames after its pictures: its style sheet and basket
// script, then the pages that use them. The order pages are the framed
// shop's, with this layout's head, menu and footer.
QList<PageFileWriter::FileText> shopWithoutFrames(const SiteInput& input) {
    using W = PageFileWriter;
    using P = PagesLayout;
    QList<W::FileText> files{
        bytesFile(QString::fromLatin1(P::kStyleSheetName), P::styleSheet()),
        bytesFile(QString::fromLatin1(P::kBasketScriptName), P::basketScript()),
        W::page(input.settings.startFileName, P::startPage(input))};
    for (qsizetype k = 0; k < input.categories.size(); ++k)
        files << W::page(ListingPages::pageName(input.categories.at(k).name),
                         P::listingPage(input, k));
    files << W::page(QStringLiteral("basket"), P::basketPage(input, OrderPages::Prices::Retail))
          << W::page(QStringLiteral("wbasket"),
                     P::basketPage(input, OrderPages::Prices::Wholesale));
    for (const NamedPage& page : OrderPages::retailPages(input) + OrderPages::wholesalePages(input))
        files << W::page(page.name, P::framedPageWithoutFrames(input, page.text));
    return files << W::page(QStringLiteral("complect"), P::combinedPage(input));
}

// Every file of the site, in the order they are put in place: the pictures
// before the pages that show them.
QList<PageFileWriter::FileText> siteFiles(const SiteInput& input,
                                          const QList<PageFileWriter::FileText>& pictures) {
    QList<PageFileWriter::FileText> files{catalogScript(input)};
    files << pictures;
    if (input.settings.layout == SiteSettings::Layout::Pages)
        return files << shopWithoutFrames(input);
    return files << framedShop(input);
}

} // namespace

// Everything is checked before the first file is written: a refused site
// leaves the folder as it was.
GenerationResult SiteGenerator::write(const QString& folder, const SiteInput& input,
                                      const QList<PageFileWriter::FileText>& files,
                                      const QStringList& siteProblems) {
    GenerationResult result;
    result.problems = problems(input, nameProblems(input), siteProblems);
    if (!result.ok())
        return result;
    PageFileWriter writer(folder);
    writer.write(files);
    result.written = writer.written();
    result.failures = writer.failures();
    return result;
}

GenerationResult SiteGenerator::writeCatalog(const QString& folder, const SiteInput& input) {
    return write(folder, input, {catalogScript(input)}, {});
}

// A failed write leaves the site part new, part old: it is not fit to
// publish until it is generated again.
GenerationResult SiteGenerator::generate(const QString& folder, const SiteInput& input) {
    const SitePictureFiles pictures = pictureFiles(folder, input.identity);
    GenerationResult result = write(folder, input, siteFiles(input, pictures.files),
                                    taxRateProblems(input) + startFileProblems(input) +
                                        colourProblems(input.identity) + pictures.problems);
    if (!result.failures.isEmpty())
        result.failures << QStringLiteral("The site in %1 is incomplete: generate it again when "
                                          "the problem is solved, and do not publish it before.")
                               .arg(folder);
    else if (result.ok())
        qCInfo(lcSitegen) << "site of" << input.categories.size() << "categories written to"
                          << folder;
    return result;
}
