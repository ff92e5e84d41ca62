#include "publish/PublisherChoice.h"
#include "publish/SftpPublisher.h"
#include "publish/SftpSession.h"
#include "support/ExpectedFile.h"
#include "support/ProgramRun.h"
#include "support/PureFtpdFixture.h"
#include "support/Results.h"
#include "support/ServerRequired.h"
#include "support/ServerTools.h"
#include "support/SshdFixture.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

const QString kWeb = "Shop";
const QStringList kAddresses = {"data1.js", "l_Office Supplies.htm", "index.htm"};
const QString kList = kAddresses.join('\n') + '\n';

// A generated-looking project folder whose files name the given version.
struct LocalSite {
    QTemporaryDir dir;
    QString files;
    explicit LocalSite(const QByteArray& version) {
        for (const QString& address : kAddresses) {
            files += dir.filePath(address) + '\n';
            writeBytes(dir.filePath(address), address.toUtf8() + " version " + version);
        }
    }
    void checkArrivedIn(const QString& webFolder) const {
        for (const QString& address : kAddresses)
            QCOMPARE(fileBytes(webFolder + '/' + address), fileBytes(dir.filePath(address)));
    }
};

// The calls "Front Page" makes; the first failure, empty when all went up.
QString publish(const TransferAccess& access, const QString& server, const QString& user,
                const QString& password, const LocalSite& site) {
    const auto publisher = PublisherChoice::forServer(server, access);
    if (const Expected<bool> opened =
            publisher->vtiOpenWebWithPassword(server, kWeb, user, password);
        !opened)
        return opened.error();
    if (const Expected<void> removed = publisher->vtiRemoveWeb('/' + kWeb, kList); !removed)
        return removed.error();
    if (const Expected<void> created = publisher->vtiCreateWeb("http://" + server, kWeb); !created)
        return created.error();
    for (const QString& error : errorsOf(publisher->vtiPutDocuments(site.files, kList)))
        if (!error.isEmpty())
            return error;
    return {};
}

// The running processes whose parent is `parent`, and theirs, and so on.
QList<pid_t> processesBelow(pid_t parent) {
    QList<pid_t> found;
    QDirIterator entries("/proc", QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const pid_t pid = entries.next().section('/', -1).toInt();
        // The parent is the field after the name, which ends with ')'.
        const QByteArray stat = fileBytes(entries.filePath() + "/stat");
        if (pid > 0 && stat.mid(stat.lastIndexOf(')') + 4).split(' ').value(0).toInt() == parent)
            found << pid << processesBelow(pid);
    }
    return found;
}

// The process whose command line names `argument`; 0 when there is none.
pid_t processNaming(const QString& argument) {
    QDirIterator entries("/proc", QDir::Dirs | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const pid_t pid = entries.next().section('/', -1).toInt();
        if (pid > 0 && fileBytes(entries.filePath() + "/cmdline").contains(argument.toUtf8()))
            return pid;
    }
    return 0;
}

// Makes a key pair of the type ("ed25519", "rsa", ...) at `path` (and
// `path`.pub); the public line.
QByteArray makeKey(const QString& path, const QString& type = "ed25519") {
    QDir().mkpath(QFileInfo(path).path());
    ServerTools::run("ssh-keygen", {"-q", "-t", type, "-N", "", "-f", path});
    return fileBytes(path + ".pub");
}

// "type base64" of a new key of that type, as a known hosts line has it.
QByteArray otherHostKey(const QString& folder, const QString& type) {
    return makeKey(folder + "/other_" + type, type).split(' ').mid(0, 2).join(' ');
}

// Writes the lines as a known hosts file, with the host names hashed by
// OpenSSH's own ssh-keygen when asked to.
void writeKnownHosts(const QString& path, const QByteArray& lines, bool hashed) {
    writeBytes(path, lines);
    if (hashed) {
        ServerTools::run("ssh-keygen", {"-q", "-H", "-f", path});
        QFile::remove(path + ".old");
    }
}

// Whether OpenSSH's ssh-keygen finds an entry for the host name in the file.
bool openSshKnows(const QString& knownHosts, const QByteArray& name) {
    return ServerTools::run("ssh-keygen", {"-F", QString::fromUtf8(name), "-f", knownHosts})
        .has_value();
}

} // namespace

class TestFileTransferPublisher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One sshd: a server not known yet is refused until the user accepts
    // the fingerprint OpenSSH shows for it, and is known from then on,
    // written in the known hosts file's own style after its last line; a
    // second publish keeps another party's file; a wrong password stops
    // every call; the user's key logs in; a server gone away is named.
    void sftpSession_data() {
        QTest::addColumn<QString>("keyType");
        QTest::addColumn<bool>("hashed");
        QTest::newRow("ed25519 key, plain known hosts") << "ed25519" << false;
        QTest::newRow("RSA key, hashed known hosts") << "rsa" << true;
    }
    void sftpSession() {
        QUILLMART_REQUIRE_SERVER(SshdFixture::missing());
        QFETCH(QString, keyType);
        QFETCH(bool, hashed);
        SshdFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const QString text = server.serverText(), user = server.user();
        const QString web = server.rootPath() + "/Shop", hostPort = text.section('/', 2, 2);
        QTemporaryDir home;
        TransferAccess access;
        access.sshFolder = home.filePath(".ssh");
        const QString knownHosts = access.sshFolder + "/known_hosts";
        // Another host's entry, its line end missing.
        writeKnownHosts(knownHosts, "other.example " + otherHostKey(home.path(), "ecdsa"), hashed);
        writeBytes(knownHosts, fileBytes(knownHosts).trimmed());
        const LocalSite first("1"), second("2");
        QString unknown = publish(access, text, user, server.password(), first);
        QVERIFY2(unknown.contains("is not in the known hosts file") &&
                     unknown.contains(server.fingerprint()) &&
                     server.fingerprint().startsWith("SHA256:"),
                 qPrintable(unknown));
        QVERIFY(!QFileInfo::exists(web));
        QStringList asked;
        access.approveHostKey = [&asked](const QString& name, const QString& print) {
            asked << name << print;
            return true;
        };
        QCOMPARE(publish(access, text, user, server.password(), first), QString());
        QCOMPARE(asked, QStringList({hostPort, server.fingerprint()}));
        first.checkArrivedIn(web);
        const QByteArrayList entries = fileBytes(knownHosts).trimmed().split('\n');
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.last().startsWith("|1|"), hashed);
        QVERIFY(openSshKnows(knownHosts, server.knownHostsName()));
        QVERIFY(openSshKnows(knownHosts, "other.example"));
        writeBytes(web + "/orders.txt", "kept");
        access.approveHostKey = nullptr;
        QCOMPARE(publish(access, text, user, server.password(), second), QString());
        second.checkArrivedIn(web);
        QCOMPARE(fileBytes(web + "/orders.txt"), "kept");

        QVERIFY(server.authorize(makeKey(access.sshFolder + "/id_" + keyType, keyType)));
        QCOMPARE(publish(access, text, user, QString(), first), QString());

        // A directory where a file should go: that one file is refused.
        QVERIFY(QFile::remove(web + "/data1.js") && QDir(web).mkpath("data1.js/sub"));
        QVERIFY2(publish(access, text, user, server.password(), second).contains("data1.js"), "");

        // A refused login stops the publish: the calls after it do not try
        // again (they would find the server gone).
        access.sshFolder = home.filePath("no keys");
        access.approveHostKey = [](const QString&, const QString&) { return true; };
        SftpPublisher wrong(access);
        const QString refused = wrong.vtiOpenWebWithPassword(text, kWeb, user, "wrong").error();
        QVERIFY2(refused.contains("did not accept the login"), qPrintable(refused));
        server.stop();
        QCOMPARE(errorsOf(wrong.vtiPutDocuments(first.files, kList)), QStringList(3, refused));
        QVERIFY(publish(access, text, user, "", first).contains("cannot be reached"));
    }

    // A server that stops answering in the middle of an upload is cut off
    // once it has been silent for the stall limit.
    void silentServerIsCutOff() {
        QUILLMART_REQUIRE_SERVER(SshdFixture::missing());
        SshdFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        QTemporaryDir home;
        TransferAccess access;
        access.sshFolder = home.filePath(".ssh");
        access.acceptedHostKey = server.fingerprint();
        access.stallLimitMs = 1000;
        SftpSession session(access, "127.0.0.1", server.port());
        QVERIFY(session.open(server.user(), server.password()));
        const QList<pid_t> connection = processesBelow(processNaming(server.path("sshd_config")));
        QVERIFY(!connection.isEmpty());
        for (const pid_t pid : connection)
            ::kill(pid, SIGSTOP);
        QBuffer site;
        site.setData(QByteArray(16 * 1024 * 1024, 'x'));
        site.open(QIODevice::ReadOnly);
        const SftpSession::Result result = session.upload(site, server.rootPath() + "/site.bin");
        for (const pid_t pid : connection)
            ::kill(pid, SIGCONT);
        QCOMPARE(int(result.kind), int(SftpSession::Result::Kind::Lost));
        QVERIFY2(result.detail.contains("it did not answer in time"), qPrintable(result.detail));
    }

    // The server (offering ed25519 and ECDSA host keys) recorded in a known
    // hosts file, as OpenSSH writes it, with another key of the same type or
    // of one the server lacks: refused whatever fingerprint was accepted for
    // an unknown server.
    void hostRecordedWithAnotherKeyIsRefused_data() {
        QTest::addColumn<QString>("recordedType");
        QTest::addColumn<bool>("hashed");
        QTest::newRow("another ed25519 key") << "ed25519" << false;
        QTest::newRow("another key of a type the server lacks, hashed") << "rsa" << true;
    }
    void hostRecordedWithAnotherKeyIsRefused() {
        QUILLMART_REQUIRE_SERVER(SshdFixture::missing());
        QFETCH(QString, recordedType);
        QFETCH(bool, hashed);
        SshdFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        QTemporaryDir home;
        TransferAccess access;
        access.sshFolder = home.filePath(".ssh");
        access.acceptedHostKey = server.fingerprint();
        writeKnownHosts(
            access.sshFolder + "/known_hosts",
            server.knownHostsName() + ' ' + otherHostKey(home.path(), recordedType) + '\n', hashed);
        const QString result =
            publish(access, server.serverText(), server.user(), server.password(), LocalSite("1"));
        QVERIFY2(result.contains("is not the one recorded"), qPrintable(result));
    }

    // The command trusts a server not known yet only with --host-key, and
    // then remembers it in the user's known hosts file.
    void publishCommandTakesTheHostKey() {
        QUILLMART_REQUIRE_SERVER(SshdFixture::missing());
        SshdFixture server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        QTemporaryDir home;
        writeBytes(home.filePath("Shop/Shop.caa"), "Tools\r\n");
        writeBytes(home.filePath("Shop/Tools.pro"), "A1^Hammer^9.5^^^^2^7^^\r\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("QM_SECRET", server.password());
        const auto quillmart = [&environment](const QStringList& arguments) {
            return ProgramRun::of(QUILLMART_EXECUTABLE, arguments, environment);
        };
        QCOMPARE(quillmart({"generate", home.filePath("Shop")}).exitCode, 0);
        QStringList publish{"publish", home.filePath("Shop"), "--server",       server.serverText(),
                            "--user",  server.user(),         "--password-env", "QM_SECRET"};
        const ProgramRun refused = quillmart(publish);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(server.fingerprint().toUtf8()), refused.err.constData());
        QCOMPARE(quillmart(publish + QStringList{"--host-key", server.fingerprint()}).exitCode, 0);
        QCOMPARE(quillmart(publish).exitCode, 0);
    }

    // One pure-ftpd: FTP over TLS refuses a certificate nobody vouches for,
    // publishes twice with the merchant's own certificate trusted, keeping
    // another party's file, and stops at a wrong password; plain FTP
    // publishes as well.
    void ftpSession() {
        QUILLMART_REQUIRE_SERVER(PureFtpdFixture::missing());
        PureFtpdFixture server;
        QVERIFY2(server.start("ftp secret"), qPrintable(server.error()));
        const QString ftps = "ftps://" + server.address(), web = server.rootPath() + "/Shop";
        const LocalSite first("1"), second("2");
        TransferAccess access;
        const QString untrusted = publish(access, ftps, server.user(), "ftp secret", first);
        QVERIFY2(untrusted.contains("certificate is not trusted"), qPrintable(untrusted));
        access.trustedCertificate = server.certificatePath();
        QCOMPARE(publish(access, ftps, server.user(), "ftp secret", first), QString());
        first.checkArrivedIn(web);
        writeBytes(web + "/orders.txt", "kept");
        QCOMPARE(publish(access, ftps + "/", server.user(), "ftp secret", second), QString());
        second.checkArrivedIn(web);
        QCOMPARE(fileBytes(web + "/orders.txt"), "kept");
        QVERIFY(publish(access, ftps, server.user(), "wrong", first).contains("did not accept"));

        const QString ftp = "ftp://" + server.address();
        QCOMPARE(publish(access, ftp, server.user(), "ftp secret", first), QString());
    }
};

QTEST_GUILESS_MAIN(TestFileTransferPublisher)
#include "test_file_transfer_publisher.moc"
