#pragma once

#include "platform/Expected.h"

#include <QString>
#include <QStringList>

// `quillmart publish PROJECT_FOLDER ...`: publishes the site in the project
// folder as the window's "Front Page" does ("Update" with --data-only).
// Server, user and password default to the project's settings file; the
// password is only ever read from an environment variable or, without
// one, the desktop keyring ("Remember password"), never from the command
// line.
class PublishCommand {
public:
    QString folder;
    QString server;
    QString user;
    QString passwordVariable;
    // The fingerprint of an SFTP server's host key that may be trusted when
    // the server is not in the known hosts file yet.
    QString hostKey;
    // A PEM file trusted for FTP over TLS besides the system's authorities.
    QString trustedCertificate;
    bool dataOnly = false;
    bool dryRun = false;

    // Reads the command's arguments (those after "publish"); a failure says
    // what is wrong with them. HeadlessPublish runs the command.
    Expected<void> parse(const QStringList& arguments);

    static QString usage();
};
