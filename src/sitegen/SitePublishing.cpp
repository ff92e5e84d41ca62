#include "sitegen/SitePublishing.h"

#include "sitegen/PublishingLists.h"
#include "store/NameRules.h"

namespace {

// Whatever the back end, the web is one folder named after the project and
// every address names a file directly inside it: a name that would lead
// elsewhere stops the publish before anything is removed or sent.
QString nameProblem(const PublishTarget& target, const PublishingLists& lists) {
    if (!NameRules::isPlainFileName(target.projectName))
        return QStringLiteral("\"%1\" cannot be the name of a web: it must be a plain name, "
                              "without / or \\. Nothing was removed or sent.")
            .arg(target.projectName);
    for (const QString& address : PublishingLists::entries(lists.addressList)) {
        if (!NameRules::isPlainFileName(address))
            return QStringLiteral("\"%1\" is not a plain file name inside the web (it must not "
                                  "contain / or \\); check the start file name and the "
                                  "category names. Nothing was removed or sent.")
                .arg(address);
    }
    return {};
}

int openWeb(Publisher& publisher, const PublishTarget& target) {
    publisher.vtiDisableErrorDialogs(1);
    return publisher.vtiOpenWebWithPassword(target.server, target.projectName, target.user,
                                            target.password);
}

// Sends the files that exist, in upload order, and counts what went up.
void sendDocuments(Publisher& publisher, const PublishingLists& lists, PublishReport& report) {
    const PublishingLists sent = lists.existing(&report.missing);
    const QStringList addresses = PublishingLists::entries(sent.addressList);
    if (addresses.isEmpty())
        return;
    const QStringList results = publisher.vtiPutDocuments(sent.fileList, sent.addressList);
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const QString result = results.value(i, QStringLiteral("the back end gave no result"));
        if (result.isEmpty())
            ++report.published;
        else
            report.failures << addresses.at(i) + QStringLiteral(": ") + result;
    }
}

} // namespace

PublishReport SitePublishing::publishSite(Publisher& publisher, const PublishTarget& target,
                                          const QString& startFileName,
                                          const QStringList& categories,
                                          const QStringList& pictureNames) {
    PublishReport report;
    const PublishingLists lists =
        PublishingLists::forSite(target.folder, startFileName, categories, pictureNames)
            .inUploadOrder(startFileName);
    report.error = nameProblem(target, lists);
    if (!report.error.isEmpty())
        return report;
    const int exists = openWeb(publisher, target);
    if (exists < 0) {
        report.error = publisher.lastError();
        return report;
    }
    if (exists == 1 &&
        !publisher.vtiRemoveWeb(QStringLiteral("/") + target.projectName, lists.addressList)) {
        report.error = publisher.lastError();
        return report;
    }
    if (!publisher.vtiCreateWeb(QStringLiteral("http://") + target.server, target.projectName)) {
        report.error = publisher.lastError();
        return report;
    }
    sendDocuments(publisher, lists, report);
    return report;
}

PublishReport SitePublishing::publishCatalog(Publisher& publisher, const PublishTarget& target) {
    PublishReport report;
    const PublishingLists lists = PublishingLists::forCatalog(target.folder);
    report.error = nameProblem(target, lists);
    if (!report.error.isEmpty())
        return report;
    if (openWeb(publisher, target) < 0) {
        report.error = publisher.lastError();
        return report;
    }
    sendDocuments(publisher, lists, report);
    return report;
}

QString PublishReport::summary(const PublishTarget& target) const {
    const QString where =
        target.server + QStringLiteral(" (web \"") + target.projectName + QStringLiteral("\")");
    if (!error.isEmpty())
        return QStringLiteral("Nothing was published to %1.\n%2").arg(where, error);
    QString text = QStringLiteral("%1 of %2 files were published to %3.")
                       .arg(published)
                       .arg(published + failures.size())
                       .arg(where);
    if (!failures.isEmpty())
        text += QStringLiteral("\nThese files failed:\n") + failures.join(QLatin1Char('\n'));
    if (!missing.isEmpty())
        text += QStringLiteral("\nNot in the project folder, so not sent (use Generate first if "
                               "they belong to the site):\n") +
                missing.join(QLatin1Char('\n'));
    return text;
}
