#pragma once

#include "store/CatalogOptions.h"
#include "store/SiteSettings.h"

#include <QString>
#include <QTextStream>

// `quillmart generate PROJECT_FOLDER ...`: loads the project named after the
// folder and writes its site into the folder, as the window's "Generate"
// does with the same options.
class GenerateCommand {
public:
    QString folder;
    SiteSettings::Layout layout = SiteSettings::Layout::BannerAndContents;
    CatalogOptions options;

    // Reads the command's arguments (those after "generate"). Returns an
    // error text, empty when they are fine.
    QString parse(const QStringList& arguments);
    // Prints the files written to `out`, or one message to `err`; returns
    // the exit code.
    int run(QTextStream& out, QTextStream& err) const;

    static QString usage();
};
