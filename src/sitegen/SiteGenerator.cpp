#include "sitegen/SiteGenerator.h"

#include "project/NameRules.h"
#include "sitegen/BasketPages.h"
#include "sitegen/CatalogScript.h"
#include "sitegen/FramePages.h"
#include "sitegen/ListingPages.h"
#include "sitegen/OrderPages.h"
#include "sitegen/PageFileWriter.h"

namespace {

// Prices go into the catalog script unquoted: one that is not a number would
// stop every page of the shop, so such a catalog is not written at all.
// Category names become file names: one that would reach outside the
// project folder is refused as well.
GenerationResult checked(const SiteInput& input) {
    GenerationResult result;
    for (const SiteCategory& category : input.categories) {
        const QString problem = NameRules::problem(category.name, QStringLiteral("category"));
        if (!problem.isEmpty())
            result.problems << QStringLiteral("\"%1\": %2").arg(category.name, problem);
    }
    const QStringList bad = input.badPrices();
    if (!bad.isEmpty())
        result.problems << QStringLiteral("These items have a retail price that is not a number:")
                        << bad;
    return result;
}

GenerationResult finished(const PageFileWriter& writer) {
    GenerationResult result;
    result.written = writer.written();
    result.failures = writer.failures();
    return result;
}

void writeFrames(PageFileWriter& writer, const SiteInput& input) {
    writer.writePage(input.settings.startFileName, FramePages::startPage(input));
    if (input.settings.layout == SiteSettings::Layout::BannerAndContents)
        writer.writePage(QStringLiteral("fsecond"), FramePages::secondFrameset());
    writer.writePage(QStringLiteral("banner"), FramePages::banner());
    writer.writePage(QStringLiteral("mmenu"), FramePages::mainMenu());
    writer.writePage(QStringLiteral("compinfo"), FramePages::companyPage());
    writer.writePage(QStringLiteral("ols"), FramePages::storePage());
    writer.writePage(QStringLiteral("m_products"), FramePages::productsMenu(input));
}

void writePages(PageFileWriter& writer, const QList<NamedPage>& pages) {
    for (const NamedPage& page : pages)
        writer.writePage(page.name, page.text);
}

} // namespace

GenerationResult SiteGenerator::writeCatalog(const QString& folder, const SiteInput& input) {
    GenerationResult result = checked(input);
    if (!result.ok())
        return result;
    PageFileWriter writer(folder);
    writer.writeFile(QString::fromLatin1(CatalogScript::kFileName), CatalogScript::write(input));
    return finished(writer);
}

GenerationResult SiteGenerator::generate(const QString& folder, const SiteInput& input) {
    GenerationResult result = checked(input);
    if (!result.ok())
        return result;
    PageFileWriter writer(folder);
    writer.writeFile(QString::fromLatin1(CatalogScript::kFileName), CatalogScript::write(input));
    writeFrames(writer, input);
    for (qsizetype k = 0; k < input.categories.size(); ++k)
        writer.writePage(ListingPages::pageName(input.categories.at(k).name),
                         ListingPages::listingPage(input, k));
    writer.writePage(QStringLiteral("basket"), BasketPages::retail(input));
    writer.writePage(QStringLiteral("wbasket"), BasketPages::wholesale(input));
    writePages(writer, OrderPages::retailPages(input));
    writePages(writer, OrderPages::wholesalePages(input));
    writer.writePage(QStringLiteral("complect"), ListingPages::combinedPage(input));
    return finished(writer);
}
