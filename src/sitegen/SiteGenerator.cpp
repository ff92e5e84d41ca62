#include "sitegen/SiteGenerator.h"

#include "project/NameRules.h"
#include "sitegen/CatalogScript.h"
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
    // The shop's pages are written after the catalog script, in the site's
    // fixed file order; for now the catalog script is the whole site.
    return writeCatalog(folder, input);
}
