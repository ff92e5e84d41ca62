#include "app/HeadlessPublish.h"

#include "app/CommandOptions.h"
#include "app/KeyringPassword.h"
#include "app/ProjectOnDisk.h"
#include "publish/PublisherChoice.h"
#include "shop/OrderAddresses.h"
#include "sitegen/PublishingLists.h"
#include "sitegen/RecordingPublisher.h"
#include "sitegen/SitePublishing.h"

namespace {

PublishReport runPublish(Publisher& publisher, const PublishTarget& target,
                         const ProjectOnDisk& project, bool dataOnly) {
    if (dataOnly)
        return SitePublishing::publishCatalog(publisher, target);
    const ProjectSettings& settings = project.settings;
    QStringList pictures;
    for (const SitePicture& picture : settings.identity.pictures())
        pictures << picture.siteName;
    return SitePublishing::publishSite(publisher, target, settings.site.startFileName,
                                       settings.site.layout, project.categories, pictures);
}

void printEntries(QTextStream& out, const QString& heading, const QStringList& entries) {
    if (entries.isEmpty())
        return;
    out << heading << Qt::endl;
    for (const QString& entry : entries)
        out << "  " << entry << Qt::endl;
}

// What the recorded calls would have done.
void printDryRun(QTextStream& out, const RecordingPublisher& publisher, const PublishTarget& target,
                 const PublishReport& report) {
    out << "Dry run: nothing is sent to " << target.server << " (web \"" << target.projectName
        << "\")." << Qt::endl;
    for (const RecordingPublisher::Call& call : publisher.calls()) {
        if (call.name == QLatin1String("vtiRemoveWeb"))
            printEntries(out, QStringLiteral("Would remove from the web, if it exists:"),
                         PublishingLists::entries(call.arguments.at(1)));
        if (call.name != QLatin1String("vtiPutDocuments"))
            continue;
        const QStringList files = PublishingLists::entries(call.arguments.at(0));
        const QStringList addresses = PublishingLists::entries(call.arguments.at(1));
        QStringList sends;
        for (qsizetype i = 0; i < addresses.size(); ++i)
            sends << files.value(i) + QStringLiteral(" -> ") + addresses.at(i);
        printEntries(out, QStringLiteral("Would send:"), sends);
    }
    printEntries(out, QStringLiteral("Not in the project folder, would not be sent:"),
                 report.missing);
}

// A site whose orders would go to an example address goes up all the same:
// the merchant may mean it, and a command has no one to ask.
void warnOfPlaceholders(const ProjectOnDisk& project, const PublishCommand& command,
                        QTextStream& err) {
    const QStringList examples =
        OrderAddresses::placeholders(project.settings.site, project.settings.templates);
    if (!command.dataOnly && !examples.isEmpty())
        err << "quillmart publish: warning: " << OrderAddresses::placeholderWarning(examples)
            << Qt::endl;
}

} // namespace

int HeadlessPublish::run(const PublishCommand& command, QTextStream& out, QTextStream& err) {
    auto fail = [&err](const QString& message) {
        err << "quillmart publish: " << message << Qt::endl;
        return 1;
    };
    const auto project = ProjectOnDisk::load(command.folder);
    if (!project)
        return fail(project.error());
    const SiteSettings& settings = project->settings.site;
    PublishTarget target{command.server.isEmpty() ? settings.frontPageServer : command.server,
                         command.user.isEmpty() ? settings.frontPageUser : command.user,
                         settings.frontPagePassword, project->folder.name(),
                         project->folder.path()};
    if (!command.passwordVariable.isEmpty()) {
        const auto password = CommandOptions::passwordFrom(command.passwordVariable);
        if (!password)
            return fail(password.error());
        target.password = *password;
    }
    if (target.server.isEmpty())
        return fail(QStringLiteral("no server: give --server or set it in the project"));
    if (command.dryRun) {
        warnOfPlaceholders(*project, command, err);
        RecordingPublisher recorder(true);
        const PublishReport report = runPublish(recorder, target, *project, command.dataOnly);
        if (!report.error.isEmpty())
            return fail(report.summary(target));
        printDryRun(out, recorder, target, report);
        return 0;
    }
    if (command.passwordVariable.isEmpty())
        target.password = keyringPassword(PasswordKeyring::Kind::Publishing, target.server,
                                          target.user, QStringLiteral("publish"), err)
                              .value_or(target.password);
    const QString warning = PublisherChoice::passwordInClearWarning(target.server, target.password);
    if (!warning.isEmpty())
        err << "quillmart publish: warning: " << warning << Qt::endl;
    warnOfPlaceholders(*project, command, err);
    TransferAccess access;
    access.acceptedHostKey = command.hostKey;
    access.trustedCertificate = command.trustedCertificate;
    const auto publisher = PublisherChoice::forServer(target.server, access);
    const PublishReport report = runPublish(*publisher, target, *project, command.dataOnly);
    (report.ok() ? out : err) << report.summary(target) << Qt::endl;
    return report.ok() ? 0 : 1;
}
