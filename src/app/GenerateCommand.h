#pragma once

#include "platform/Expected.h"
#include "shop/CatalogOptions.h"
#include "shop/SiteSettings.h"

#include <QString>
#include <QTextStream>
#include <optional>

// `quillmart generate PROJECT_FOLDER ...`: loads the project named after the
// folder and writes its site into the folder, as the window's "Generate"
// does. The layout and the catalog options are the project's own; the
// command's arguments choose another layout or turn options on.
class GenerateCommand {
public:
    QString folder;
    std::optional<SiteSettings::Layout> layout;
    CatalogOptions options;
    // The maker site the shop's credit links lead to (the settings'); empty:
    // the credits stand unlinked.
    QString makerSite;

    // Reads the command's arguments (those after "generate"); a failure
    // says what is wrong with them.
    Expected<void> parse(const QStringList& arguments);
    // Prints the files written to `out`, or one message to `err`; returns
    // the exit code.
    int run(QTextStream& out, QTextStream& err) const;

    static QString usage();
};
