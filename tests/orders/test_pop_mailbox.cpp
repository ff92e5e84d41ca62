#include "orders/PopMailbox.h"
#include "support/DovecotFixture.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

using Security = MailAccount::Security;

// Three orders and two other mails, as a mail delivery stores them (LF line
// ends). One has a line that starts with a dot, which POP3 doubles on the
// way and the client must undouble; one has a name with an accent.
const QList<QByteArray> kMessages = {
    "From: Jane Buyer <jane@shop.test>\nSubject: Online Order\n\nNameB=Jane Buyer\n"
    "DESCRIPTION=A1 ^ 2 ^ 5.00 ^ 10.00^\n\n Total Price : $$$ 10.00\nAMOUNT=$$$ 10.00\n",
    "From: news@supplier.test\nSubject: Price list\n\nNew prices from May.\n.\n..hidden\n",
    "From: Jos\xc3\xa9 <jose@shop.test>\nSubject: Online Order\n\n"
    "NameB=Jos\xc3\xa9 Garc\xc3\xad" // the "a" apart, or it would join the escape
    "a\nAMOUNT=$$$ 72.00\n",
    "From: friend@mail.test\nSubject: Lunch?\n\nSee you at noon.\n",
    "From: Kim <kim@shop.test>\nSubject: Online Order\n\nNameB=Kim Lee\nAMOUNT=$$$ 3.50\n",
};

QString asReceived(const QByteArray& stored) {
    return QString::fromUtf8(QByteArray(stored).replace("\n", "\r\n"));
}

QStringList uniqueIds(const QList<MailboxEntry>& entries) {
    QStringList ids;
    for (const MailboxEntry& entry : entries)
        ids << entry.uid;
    return ids;
}

void fill(DovecotFixture& server) {
    for (const QByteArray& message : kMessages)
        QVERIFY(server.addMessage(message));
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
    void readsEveryMessageAsSent();
    void keepsMessageIdsAcrossSessions();
    void deletesOnlyWhenTheSessionEndsNormally();
    void failureEndsTheSessionWithoutDeleting_data();
    void failureEndsTheSessionWithoutDeleting();
    void readsOverTls_data();
    void readsOverTls();
    void explainsFailures_data();
    void explainsFailures();
};

void TestPopMailbox::readsEveryMessageAsSent() {
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    fill(server);

    PopMailbox mailbox(server.account());
    const QList<MailboxEntry> entries = mailbox.list();
    QVERIFY2(mailbox.error().isEmpty(), qPrintable(mailbox.error()));
    QCOMPARE(entries.size(), kMessages.size());
    const QStringList ids = uniqueIds(entries);
    QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), kMessages.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).number, int(i + 1));
        QCOMPARE(mailbox.retrieve(entries.at(i).number), asReceived(kMessages.at(i)));
        QVERIFY(mailbox.error().isEmpty());
    }
    QVERIFY(mailbox.close());
    QCOMPARE(server.messageCount(), kMessages.size());
}

void TestPopMailbox::keepsMessageIdsAcrossSessions() {
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    fill(server);

    PopMailbox mailbox(server.account());
    const QStringList first = uniqueIds(mailbox.list());
    QVERIFY(mailbox.close());
    QCOMPARE(uniqueIds(mailbox.list()), first); // a new session, nothing new
    QVERIFY(mailbox.remove(2));
    QVERIFY(mailbox.close());

    const QList<MailboxEntry> after = mailbox.list();
    QStringList expected = first;
    expected.removeAt(1);
    QCOMPARE(uniqueIds(after), expected);
    // Numbers count afresh; the id still leads to the same message.
    QCOMPARE(after.at(1).number, 2);
    QCOMPARE(mailbox.retrieve(after.at(1).number), asReceived(kMessages.at(2)));
    QVERIFY(mailbox.close());
}

void TestPopMailbox::deletesOnlyWhenTheSessionEndsNormally() {
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    fill(server);
    {
        PopMailbox abandoned(server.account());
        for (const MailboxEntry& entry : abandoned.list())
            QVERIFY(abandoned.remove(entry.number));
    } // gone without close()
    waitForSessionEnd(server);
    QCOMPARE(server.messageCount(), kMessages.size());

    PopMailbox mailbox(server.account());
    for (const MailboxEntry& entry : mailbox.list())
        QVERIFY(mailbox.remove(entry.number));
    QCOMPARE(server.messageCount(), kMessages.size());
    QVERIFY2(mailbox.close(), qPrintable(mailbox.error()));
    QCOMPARE(server.messageCount(), 0);
    QVERIFY(mailbox.list().isEmpty());
    QVERIFY(mailbox.error().isEmpty());
}

void TestPopMailbox::failureEndsTheSessionWithoutDeleting_data() {
    QTest::addColumn<bool>("restartServer");
    QTest::newRow("server restarted") << true;
    QTest::newRow("command refused") << false;
}

void TestPopMailbox::failureEndsTheSessionWithoutDeleting() {
    QFETCH(bool, restartServer);
    DovecotFixture server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    fill(server);
    const QString serverName = server.account().serverName();

    PopMailbox mailbox(server.account());
    QCOMPARE(mailbox.list().size(), kMessages.size());
    QVERIFY(mailbox.remove(1));
    if (restartServer) {
        server.stop();
        QVERIFY2(server.start(), qPrintable(server.error())); // back on the same port
        QCOMPARE(mailbox.retrieve(2), QString());
        QVERIFY(!mailbox.error().isEmpty()); // it may still read the server's goodbye
    } else {
        QCOMPARE(mailbox.retrieve(99), QString());
        const QString refused = QStringLiteral("The mail server %1 said: ").arg(serverName);
        QVERIFY2(mailbox.error().startsWith(refused), qPrintable(mailbox.error()));
        waitForSessionEnd(server);
    }
    QCOMPARE(server.messageCount(), kMessages.size());

    // A new session would number the messages afresh and forget the
    // deletion; the session's calls fail instead.
    QVERIFY(!mailbox.remove(2));
    const QString lost =
        QStringLiteral("The connection to the mail server %1 was lost.").arg(serverName);
    QVERIFY2(mailbox.error().startsWith(lost), qPrintable(mailbox.error()));
    QVERIFY(!mailbox.close());
    QCOMPARE(server.messageCount(), kMessages.size());

    QCOMPARE(mailbox.list().size(), kMessages.size()); // after close(), a new session
}

void TestPopMailbox::readsOverTls_data() {
    QTest::addColumn<Security>("security");
    QTest::newRow("POP3 over TLS") << Security::Tls;
    QTest::newRow("STLS") << Security::StartTls;
}

void TestPopMailbox::readsOverTls() {
    QFETCH(Security, security);
    DovecotFixture server;
    QVERIFY2(server.start(DovecotFixture::Tls::On), qPrintable(server.error()));
    QVERIFY(server.addMessage(kMessages.at(0)));

    PopMailbox mailbox(server.account(security));
    const QList<MailboxEntry> entries = mailbox.list();
    QVERIFY2(mailbox.error().isEmpty(), qPrintable(mailbox.error()));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(mailbox.retrieve(1), asReceived(kMessages.at(0)));
    QVERIFY(mailbox.remove(1));
    QVERIFY(mailbox.close());
    QCOMPARE(server.messageCount(), 0);
}

void TestPopMailbox::explainsFailures_data() {
    QTest::addColumn<bool>("serverTls");
    QTest::addColumn<Security>("security");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("trusted");
    QTest::addColumn<bool>("serverDown");
    QTest::addColumn<QString>("expected");

    const QString right = DovecotFixture().password();
    const QString none;
    QTest::newRow("wrong password") << false << Security::Plain << QStringLiteral("wrong") << none
                                    << false << QStringLiteral("refused the login");
    QTest::newRow("server down") << false << Security::Plain << right << none << true
                                 << QStringLiteral("could not be reached");
    QTest::newRow("TLS, certificate not trusted") << true << Security::Tls << right << none << false
                                                  << QStringLiteral("certificate is not trusted");
    QTest::newRow("STLS, certificate not trusted")
        << true << Security::StartTls << right << none << false
        << QStringLiteral("certificate is not trusted");
    QTest::newRow("STLS not offered") << false << Security::StartTls << right << none << false
                                      << QStringLiteral("does not offer a secure connection");
    QTest::newRow("TLS to a plain server")
        << false << Security::Tls << right << none << false << QStringLiteral("secure connection");
    QTest::newRow("certificate file missing")
        << true << Security::Tls << right << QStringLiteral("/nonexistent/cert.pem") << false
        << QStringLiteral("could not be read");
}

void TestPopMailbox::explainsFailures() {
    QFETCH(bool, serverTls);
    QFETCH(Security, security);
    QFETCH(QString, password);
    QFETCH(QString, trusted);
    QFETCH(bool, serverDown);
    QFETCH(QString, expected);
    DovecotFixture server;
    QVERIFY2(server.start(serverTls ? DovecotFixture::Tls::On : DovecotFixture::Tls::Off),
             qPrintable(server.error()));
    QVERIFY(server.addMessage(kMessages.at(0)));
    MailAccount account = server.account(security);
    account.port = server.port(); // the plain port unless the server speaks TLS there
    if (security == Security::Tls && serverTls)
        account.port = server.tlsPort();
    account.password = password;
    account.trustedCertificate = trusted;
    if (serverDown)
        server.stop();

    PopMailbox mailbox(account);
    QVERIFY(mailbox.list().isEmpty());
    QVERIFY2(mailbox.error().contains(expected), qPrintable(mailbox.error()));
    if (trusted.isEmpty())
        QVERIFY2(mailbox.error().contains(account.serverName()), qPrintable(mailbox.error()));
    QVERIFY(mailbox.close());
    QCOMPARE(server.messageCount(), 1);
}

QTEST_GUILESS_MAIN(TestPopMailbox)
#include "test_pop_mailbox.moc"
