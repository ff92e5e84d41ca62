#pragma once

#include "platform/Expected.h"

#include <QByteArray>
#include <QString>

// The user's known hosts file as OpenSSH writes it: one "host key-type
// base64-key" line per key, the host hashed ("|1|salt|hash") when the user
// chose hashed names (HashKnownHosts, Debian's default).
class KnownHostsFile {
public:
    explicit KnownHostsFile(const QString& path);

    // Adds an entry for the host's key (a public key blob) after the lines
    // already there, hashed when the file holds hashed entries, plain
    // otherwise, and always on a line of its own.
    Expected<void> add(const QString& host, int port, const QByteArray& keyBlob) const;

    // The host as an entry names it: "[host]:port" off port 22.
    static QByteArray entryName(const QString& host, int port);
    // The hashed form of an entry's name, with the given salt, as OpenSSH
    // makes it: "|1|" base64(salt) "|" base64(HMAC-SHA1(salt, name)).
    static QByteArray hashedName(const QByteArray& name, const QByteArray& salt);

private:
    bool holdsHashedEntries() const;
    bool endsWithLineEnd() const;

    QString m_path;
};
