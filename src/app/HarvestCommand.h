#pragma once

#include <QString>
#include <QStringList>

// `quillmart harvest URL... [--keywords W1,W2,...] [--find-email |
// --find-contact] [--images] --report FILE`: the browser's harvester without
// its window. It gets every link of the given pages, crawls them for the
// keywords (or the e-mail or contact words), reads the matching pages and
// writes the full report as "Save report" does.
class HarvestCommand {
public:
    enum class Search { Keywords, Email, Contact };

    QStringList urls;
    Search search = Search::Keywords;
    QStringList keywords;
    bool images = false;
    QString report;

    // Reads the arguments after "harvest". Returns an error text, empty when
    // they are fine.
    QString parse(const QStringList& arguments);

    static QString usage();
};
