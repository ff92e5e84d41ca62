#include "sitegen/KnownHostsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QtEndian>

namespace {

// OpenSSH's salt is as long as the SHA-1 digest.
constexpr int kSaltBytes = 20;
// Longer lines are no entries we need to look at (a long RSA key line is
// under 1 KB).
constexpr qint64 kLongestLine = 16 * 1024;

// A key blob starts with its type name ("ssh-ed25519", "ssh-rsa", ...) as
// a length-prefixed string.
QByteArray keyType(const QByteArray& blob) {
    if (blob.size() < 4)
        return {};
    const quint32 length = qFromBigEndian<quint32>(blob.constData());
    if (length == 0 || length > quint32(blob.size() - 4))
        return {};
    return blob.mid(4, qsizetype(length));
}

QByteArray randomSalt() {
    QByteArray salt(kSaltBytes, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()),
                                          kSaltBytes / sizeof(quint32));
    return salt;
}

} // namespace

KnownHostsFile::KnownHostsFile(const QString& path) : m_path(path) {}

Expected<void> KnownHostsFile::add(const QString& host, int port, const QByteArray& keyBlob) const {
    const QByteArray type = keyType(keyBlob);
    if (type.isEmpty())
        return Expected<void>::failure(QStringLiteral("The host key of %1 has no type.").arg(host));
    QByteArray name = entryName(host, port);
    if (holdsHashedEntries())
        name = hashedName(name, randomSalt());
    QByteArray line = name + ' ' + type + ' ' + keyBlob.toBase64() + '\n';
    if (!endsWithLineEnd())
        line.prepend('\n');
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::Append) || file.write(line) != line.size())
        return Expected<void>::failure(
            QStringLiteral("The host key of %1 could not be added to %2.")
                .arg(host, QDir::toNativeSeparators(m_path)));
    return {};
}

QByteArray KnownHostsFile::entryName(const QString& host, int port) {
    if (port == 22)
        return host.toUtf8();
    return '[' + host.toUtf8() + "]:" + QByteArray::number(port);
}

QByteArray KnownHostsFile::hashedName(const QByteArray& name, const QByteArray& salt) {
    const QByteArray hash = QMessageAuthenticationCode::hash(name, salt, QCryptographicHash::Sha1);
    return "|1|" + salt.toBase64() + '|' + hash.toBase64();
}

bool KnownHostsFile::holdsHashedEntries() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        if (file.readLine(kLongestLine).startsWith("|1|"))
            return true;
    }
    return false;
}

// An empty or missing file needs no line end before a new entry.
bool KnownHostsFile::endsWithLineEnd() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return true;
    return file.seek(file.size() - 1) && file.read(1) == "\n";
}
