#include "orders/PopMailbox.h"
#include "support/DovecotFixture.h"
#include "support/ServerRequired.h"

#include <QRegularExpression>
#include <QTest>

namespace {

using Security = MailAccount::Security;
using Tls = DovecotFixture::Tls;

// Mails as a mail delivery stores them (LF line ends). One has a line that
// starts with a dot, which POP3 doubles on the way and the client must
// undouble; one has a name with an accent.
const QList<QByteArray> kMessages = {
    "Subject: Online Order\n\nNameB=Jane Buyer\nAMOUNT=$$$ 10.00\n",
    "Subject: Price list\n\nNew prices.\n.\n..hidden\n",
    "Subject: Online Order\n\nNameB=Jos\xc3\xa9 Garc\xc3\xad"
    "a\n", // the "a" apart, or it would join the escape
};

QString asReceived(int index) {
    return QString::fromUtf8(QByteArray(kMessages[index]).replace("\n", "\r\n"));
}

QStringList uniqueIds(const QList<MailboxEntry>& entries) {
    QStringList ids;
    for (const MailboxEntry& entry : entries)
        ids << entry.uid;
    return ids;
}

bool startWithMessages(DovecotFixture& server, Tls tls = Tls::Off) {
    bool added = server.start(tls);
    for (const QByteArray& message : kMessages)
        added = added && server.addMessage(message);
    return added;
}

// Waits until the server has seen the end of the mail session (by QUIT or
// not), so whatever it would delete is deleted.
void waitForSessionEnd(const DovecotFixture& server) {
    static const QRegularExpression sessionEnd(QStringLiteral("pop3\\(.*Disconnected"));
    QTRY_VERIFY(server.serverLog().contains(sessionEnd));
}

} // namespace

class TestPopMailbox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QUILLMART_REQUIRE_SERVER(DovecotFixture::missing()); }
    void readsKeepsAndDeletes_data();
    void readsKeepsAndDeletes();
    void failureEndsTheSessionWithoutDeleting();
    void explainsFailures_data();
    void explainsFailures();
};

void TestPopMailbox::readsKeepsAndDeletes_data() {
    QTest::addColumn<Security>("security");
    QTest::newRow("plain") << Security::Plain;
    QTest::newRow("POP3 over TLS") << Security::Tls;
    QTest::newRow("STLS") << Security::StartTls;
}

// Deletions take effect only when the session ends normally; a message
// keeps its id while the numbers count afresh in each session.
void TestPopMailbox::readsKeepsAndDeletes() {
    QFETCH(Security, security);
    DovecotFixture server;
    QVERIFY2(startWithMessages(server, security == Security::Plain ? Tls::Off : Tls::On),
             qPrintable(server.error()));
    QStringList ids;
    {
        PopMailbox abandoned(server.account(security));
        const QList<MailboxEntry> entries = abandoned.list();
        QVERIFY2(abandoned.error().isEmpty(), qPrintable(abandoned.error()));
        ids = uniqueIds(entries);
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), kMessages.size());
        for (int i = 0; i < entries.size(); ++i) {
            QCOMPARE(entries[i].number, i + 1);
            QCOMPARE(entries[i].size, asReceived(i).toUtf8().size());
            QCOMPARE(abandoned.retrieve(entries[i].number), asReceived(i));
            QVERIFY(abandoned.remove(entries[i].number));
        }
    } // gone without close()
    waitForSessionEnd(server);
    QCOMPARE(server.messageCount(), kMessages.size());
    PopMailbox mailbox(server.account(security));
    QCOMPARE(uniqueIds(mailbox.list()), ids);
    QVERIFY(mailbox.remove(2));
    QVERIFY2(mailbox.close(), qPrintable(mailbox.error()));
    QCOMPARE(server.messageCount(), kMessages.size() - 1);
    const QList<MailboxEntry> after = mailbox.list();
    QCOMPARE(uniqueIds(after), (QStringList{ids[0], ids[2]}));
    QCOMPARE(mailbox.retrieve(after[1].number), asReceived(2));
    QVERIFY(mailbox.close());
}

// A refused command ends the session without QUIT: a new session would
// number the messages afresh and forget the deletion, so the session's
// calls fail instead and nothing is deleted.
void TestPopMailbox::failureEndsTheSessionWithoutDeleting() {
    DovecotFixture server;
    QVERIFY2(startWithMessages(server), qPrintable(server.error()));
    const QString serverName = server.account().serverName();
    PopMailbox mailbox(server.account());
    QCOMPARE(mailbox.list().size(), kMessages.size());
    QVERIFY(mailbox.remove(1));
    QCOMPARE(mailbox.retrieve(99), QString());
    QVERIFY2(mailbox.error().startsWith("The mail server " + serverName + " said: "),
             qPrintable(mailbox.error()));
    waitForSessionEnd(server);
    QVERIFY(!mailbox.remove(2));
    QVERIFY2(mailbox.error().startsWith("The connection to the mail server " + serverName +
                                        " was lost."),
             qPrintable(mailbox.error()));
    QVERIFY(!mailbox.close());
    QCOMPARE(server.messageCount(), kMessages.size());
    QCOMPARE(mailbox.list().size(), kMessages.size()); // after close(), a new session
}

void TestPopMailbox::explainsFailures_data() {
    QTest::addColumn<bool>("serverTls");
    QTest::addColumn<Security>("security");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("password"); // empty: the right one; "down": the server is stopped
    QTest::addColumn<QString>("trusted");  // empty: the test certificate is not trusted
    const auto row = [](const char* name, bool serverTls, Security security, const char* expected,
                        const char* password = "", const char* trusted = "") {
        QTest::newRow(name) << serverTls << security << QString(expected) << QString(password)
                            << QString(trusted);
    };
    row("wrong password", false, Security::Plain, "refused the login", "wrong");
    row("server down", false, Security::Plain, "could not be reached", "down");
    row("TLS, untrusted", true, Security::Tls, "certificate is not trusted");
    row("STLS not offered", false, Security::StartTls, "does not offer a secure connection");
    row("certificate file missing", true, Security::Tls, "could not be read", "",
        "/nonexistent/cert.pem");
}

void TestPopMailbox::explainsFailures() {
    QFETCH(bool, serverTls);
    QFETCH(Security, security);
    QFETCH(QString, expected);
    QFETCH(QString, password);
    QFETCH(QString, trusted);
    DovecotFixture server;
    QVERIFY2(startWithMessages(server, serverTls ? Tls::On : Tls::Off), qPrintable(server.error()));
    MailAccount account = server.account(security);
    account.password = password.isEmpty() ? account.password : password;
    account.trustedCertificate = trusted;
    if (password == "down")
        server.stop();
    PopMailbox mailbox(account);
    QVERIFY(mailbox.list().isEmpty());
    QVERIFY2(mailbox.error().contains(expected), qPrintable(mailbox.error()));
    QVERIFY2(!trusted.isEmpty() || mailbox.error().contains(account.serverName()),
             qPrintable(mailbox.error()));
    QVERIFY(mailbox.close());
    QCOMPARE(server.messageCount(), kMessages.size());
}

QTEST_GUILESS_MAIN(TestPopMailbox)
#include "test_pop_mailbox.moc"
