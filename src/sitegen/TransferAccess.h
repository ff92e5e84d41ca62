#pragma once

#include <QString>
#include <functional>

// What the SFTP and FTP back ends need beyond the server text, user and
// password: where this user's SSH files are, which host keys and
// certificates to trust, and whom to ask about a server not seen before.
struct TransferAccess {
    // The user's known hosts file and the folder of the user's key files;
    // empty means ~/.ssh/known_hosts and ~/.ssh.
    QString knownHostsFile;
    QString sshFolder;
    // A host key fingerprint ("SHA256:...") the user has accepted in
    // advance for a server not in the known hosts file.
    QString acceptedHostKey;
    // A PEM file whose certificate is trusted for FTP over TLS besides the
    // system's authorities.
    QString trustedCertificate;
    // Asks the user whether to trust a server not seen before, given its
    // name and its host key fingerprint. No question is asked when unset.
    std::function<bool(const QString& server, const QString& fingerprint)> approveHostKey;
    // How long an SFTP server may keep silent in the middle of a request
    // before the connection is cut off, in milliseconds.
    int stallLimitMs = 30 * 1000;

    QString knownHostsPath() const;
    QString sshFolderPath() const;
};
