// How "Get/Add all Links" grows with the number of links on a page: the
// harvester (its duplicate test uses an index over the report rows) beside
// the same command testing every report row one by one.
//
//   bench_get_links [link counts..., default 1000 5000 20000]

#include "harvest/DocumentSnapshot.h"
#include "harvest/HarvestState.h"
#include "harvest/LinkHarvester.h"
#include "harvest/LinkRow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

// A shop page: one link per item, and every tenth link repeats an earlier
// item, as menus and "more" links do.
DocumentSnapshot pageWithLinks(int count) {
    DocumentSnapshot page;
    page.url = QStringLiteral("http://shop.example.com/catalog.htm");
    page.bodyTagName = QStringLiteral("BODY");
    for (int i = 0; i < count; ++i) {
        const int item = i % 10 == 9 ? i / 2 : i;
        const QString url = QStringLiteral("http://shop.example.com/catalog/item%1.htm").arg(item);
        page.links.append({url, QStringLiteral("Item number %1").arg(item)});
    }
    return page;
}

// The command as written out in full: every link is looked for in every
// report row.
void getAllLinksRowByRow(HarvestState& state, const DocumentSnapshot& page) {
    state.pageQueue.clear();
    state.linksArmed = true;
    for (const DocumentSnapshot::Link& link : page.links) {
        const bool listed = std::any_of(
            state.reportBuffer.begin(), state.reportBuffer.end(),
            [&link](const QString& row) { return row.contains(link.href, Qt::CaseInsensitive); });
        if (listed)
            continue;
        state.reportBuffer.append(LinkRow::make(link.href, link.outerText));
        state.linkList.append(link.href);
        state.foundUrls.append(link.href);
    }
}

template <typename Run> double secondsOf(Run run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e9;
}

void measure(int count) {
    const DocumentSnapshot page = pageWithLinks(count);
    HarvestState indexed;
    const double indexedSeconds =
        secondsOf([&] { LinkHarvester(indexed).getAllLinks({page}, QString()); });
    HarvestState again = indexed;
    const double repeatSeconds =
        secondsOf([&] { LinkHarvester(again).getAllLinks({page}, QString()); });
    HarvestState rowByRow;
    const double rowByRowSeconds = secondsOf([&] { getAllLinksRowByRow(rowByRow, page); });
    const bool same = indexed.reportBuffer == rowByRow.reportBuffer &&
                      indexed.linkList == rowByRow.linkList && again.linkList == indexed.linkList;
    std::printf(
        "%7d links  %6lld rows  indexed %9.4f s  second run %9.4f s  row by row %9.4f s%s\n", count,
        static_cast<long long>(indexed.reportBuffer.size()), indexedSeconds, repeatSeconds,
        rowByRowSeconds, same ? "" : "  RESULTS DIFFER");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QList<int> counts;
    for (const QString& argument : app.arguments().mid(1))
        counts.append(argument.toInt());
    if (counts.isEmpty())
        counts = {1000, 5000, 20000};
    for (int count : counts)
        measure(count);
    return 0;
}
