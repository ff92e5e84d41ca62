#include "sitegen/SitePublishing.h"

#include "shop/NameRules.h"
#include "sitegen/PublishingLists.h"

namespace {

// Whatever the back end, the web is one folder named after the project and
// every address names a file directly inside it: a name that would lead
// elsewhere stops the publish before anything is removed or sent.
Expected<void> checkNames(const PublishTarget& target, const PublishingLists& lists) {
    if (!NameRules::isPlainFileName(target.projectName))
        return Failure{
            QStringLiteral("\"%1\" cannot be the name of a web: it must be a plain name, "
                           "without / or \\. Nothing was removed or sent.")
                .arg(target.projectName)};
    for (const QString& address : PublishingLists::entries(lists.addressList)) {
        if (!NameRules::isPlainFileName(address))
            return Failure{
                QStringLiteral("\"%1\" is not a plain file name inside the web (it must not "
                               "contain / or \\); check the start file name and the "
                               "category names. Nothing was removed or sent.")
                    .arg(address)};
    }
    return {};
}

Expected<bool> openWeb(Publisher& publisher, const PublishTarget& target) {
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
    const QList<Expected<void>> results =
        publisher.vtiPutDocuments(sent.fileList, sent.addressList);
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const Expected<void> result =
            results.value(i, Failure{QStringLiteral("the back end gave no result")});
        if (result)
            ++report.published;
        else
            report.failures << addresses.at(i) + QStringLiteral(": ") + result.error();
    }
}

} // namespace

PublishReport SitePublishing::publishSite(Publisher& publisher, const PublishTarget& target,
                                          const QString& startFileName, SiteSettings::Layout layout,
                                          const QStringList& categories,
                                          const QStringList& pictureNames) {
    PublishReport report;
    const PublishingLists lists =
        PublishingLists::forSite(target.folder, startFileName, layout, categories, pictureNames)
            .inUploadOrder(startFileName);
    if (const Expected<void> named = checkNames(target, lists); !named) {
        report.error = named.error();
        return report;
    }
    const Expected<bool> exists = openWeb(publisher, target);
    if (!exists) {
        report.error = exists.error();
        return report;
    }
    if (*exists) {
        const Expected<void> removed =
            publisher.vtiRemoveWeb(QStringLiteral("/") + target.projectName, lists.addressList);
        if (!removed) {
            report.error = removed.error();
            return report;
        }
    }
    const Expected<void> created =
        publisher.vtiCreateWeb(QStringLiteral("http://") + target.server, target.projectName);
    if (!created) {
        report.error = created.error();
        return report;
    }
    sendDocuments(publisher, lists, report);
    return report;
}

PublishReport SitePublishing::publishCatalog(Publisher& publisher, const PublishTarget& target) {
    PublishReport report;
    const PublishingLists lists = PublishingLists::forCatalog(target.folder);
    if (const Expected<void> named = checkNames(target, lists); !named) {
        report.error = named.error();
        return report;
    }
    if (const Expected<bool> opened = openWeb(publisher, target); !opened) {
        report.error = opened.error();
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
