#pragma once

#include "harvest/ReportFile.h"
#include "platform/Expected.h"

#include <QString>
#include <QStringList>
#include <optional>

// `quillmart harvest URL... [--keywords W1,W2,...] [--find-email |
// --find-contact] [--images] [--format html|csv|json] [--respect-robots |
// --ignore-robots] --report FILE`: the browser's harvester without its
// window. It gets every link of the given pages, crawls them for the
// keywords (or the e-mail or contact words), reads the matching pages and
// writes the full report as "Save report" does, or its findings as CSV or
// JSON.
class HarvestCommand {
public:
    enum class Search { Keywords, Email, Contact };

    QStringList urls;
    Search search = Search::Keywords;
    QStringList keywords;
    bool images = false;
    QString report;
    ReportFile::Format format = ReportFile::Format::Html;
    // Unset: the setting RespectRobots, on when it is not set.
    std::optional<bool> respectRobots;

    // Reads the arguments after "harvest"; a failure says what is wrong
    // with them.
    Expected<void> parse(const QStringList& arguments);

    static QString usage();
};
