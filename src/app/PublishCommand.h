#pragma once

#include <QString>
#include <QStringList>

// `quillmart publish PROJECT_FOLDER ...`: publishes the site in the project
// folder as the window's "Front Page" does ("Update" with --data-only).
// Server, user and password default to the project's settings file; the
// password is only ever read from an environment variable, never from the
// command line.
class PublishCommand {
public:
    QString folder;
    QString server;
    QString user;
    QString passwordVariable;
    bool dataOnly = false;
    bool dryRun = false;

    // Reads the command's arguments (those after "publish"). Returns an
    // error text, empty when they are fine. The network module runs the
    // command (HeadlessPublish).
    QString parse(const QStringList& arguments);

    static QString usage();
};
