#pragma once

#include "platform/Expected.h"
#include "sitegen/TransferAccess.h"

#include <QByteArray>
#include <QString>
#include <libssh/libssh.h>

// Checks an SFTP server's host key against the user's known hosts file, as
// OpenSSH does (libssh reads the file: hashed entries, "[host]:port", every
// key type): a known key passes; a host recorded with another key, of any
// type, is always refused; a server not yet known passes only when the user
// accepts its fingerprint (in advance, or when asked), and is then added to
// the known hosts file in the file's own style, so the next publish knows it.
class SshHostKeys {
public:
    SshHostKeys(const TransferAccess& access, const QString& host, int port);

    // Whether the connected session's server may be trusted; why not when it
    // may not.
    Expected<void> check(ssh_session session) const;

    // The fingerprint OpenSSH shows for a public key blob: "SHA256:" and the
    // unpadded base64 of the key's SHA-256 digest.
    static QString fingerprint(const QByteArray& keyBlob);

private:
    Expected<void> checkKey(ssh_session session, const QByteArray& keyBlob) const;
    bool accepted(const QString& print) const;
    QString serverName() const;

    TransferAccess m_access;
    QString m_host;
    int m_port = 22;
};
