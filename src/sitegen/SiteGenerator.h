#pragma once

#include "sitegen/PageFileWriter.h"
#include "sitegen/SiteInput.h"

#include <QString>
#include <QStringList>

struct GenerationResult {
    QStringList written;  // paths of the files written, in order
    QStringList failures; // files that could not be written, with the reason
    QStringList problems; // why nothing was written (bad items)
    bool ok() const { return failures.isEmpty() && problems.isEmpty(); }
};

// Writes the shop site into a project folder, in the fixed order of the
// site's files. Checks the input first: a catalog the shopper's browser
// could not run is not written at all.
class SiteGenerator {
public:
    // The whole site ("Generate").
    static GenerationResult generate(const QString& folder, const SiteInput& input);
    // The catalog script alone (the first step of "Update").
    static GenerationResult writeCatalog(const QString& folder, const SiteInput& input);

private:
    static GenerationResult write(const QString& folder, const SiteInput& input,
                                  const QList<PageFileWriter::FileText>& files,
                                  const QStringList& siteProblems);
};
