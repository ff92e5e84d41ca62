#pragma once

#include "sitegen/TransferAccess.h"

#include <QByteArray>
#include <QString>
#include <curl/curl.h>

// Checks an SFTP server's host key against the user's known hosts file, as
// OpenSSH does: a known key passes; a key that differs from the known one
// is always refused; a server not yet known passes only when the user
// accepts its fingerprint (in advance, or when asked), and is then added to
// the known hosts file so the next publish knows it.
class SshHostKeys {
public:
    SshHostKeys(const TransferAccess& access, const QString& host, int port);

    // Sets the known hosts file and the key check on the handle. The object
    // must outlive the handle's requests.
    void attachTo(CURL* curl);

    // Why the last connection was refused over its host key; empty when it
    // was not.
    const QString& refusal() const { return m_refusal; }

    // The fingerprint OpenSSH shows for a public key blob: "SHA256:" and the
    // unpadded base64 of the key's SHA-256 digest.
    static QString fingerprint(const QByteArray& keyBlob);

private:
    static int check(CURL* curl, const curl_khkey* known, const curl_khkey* found,
                     curl_khmatch match, void* self);
    int decide(const QByteArray& keyBlob, curl_khmatch match);
    bool accepted(const QString& print) const;
    void remember(const QByteArray& keyBlob) const;
    QString knownHostsName() const;
    QString serverName() const;

    TransferAccess m_access;
    QString m_host;
    int m_port = 22;
    QString m_refusal;
};
