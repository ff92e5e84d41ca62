#include "harvest/ContactFinder.h"
#include "harvest/HarvestState.h"
#include "support/ScriptedPrompts.h"
#include "web/DocumentSnapshot.h"

#include <QTest>

namespace {

using Kind = ScriptedPrompts::Kind;

const QString needLinks = QStringLiteral(
    "You need get links before, click on 'Links Editor' menu and next click 'Get Links'");

const QStringList emailWords{"mailto:"};
const QStringList contactWords{"contact", "mail",  "phone",  "fax",
                               "address", "write", "people", "stuff"};

} // namespace

class TestContactFinder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void searchCommandsPrepareTheCrawl_data();
    void searchCommandsPrepareTheCrawl();
    void addLinkWithoutDocumentLeavesNoKeywords();
};

void TestContactFinder::searchCommandsPrepareTheCrawl_data() {
    QTest::addColumn<bool>("email");
    QTest::addColumn<QStringList>("links");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<bool>("warned");

    const QStringList someLinks{"http://a.example/", "http://b.example/"};
    QTest::newRow("e-mail, no links") << true << QStringList{} << emailWords << true;
    QTest::newRow("e-mail, links") << true << someLinks << emailWords << false;
    QTest::newRow("contact, no links") << false << QStringList{} << contactWords << true;
    QTest::newRow("contact, links") << false << someLinks << contactWords << false;
}

// The user's own search words go; the found pages of an earlier crawl are
// forgotten; the link list is left for the crawl.
void TestContactFinder::searchCommandsPrepareTheCrawl() {
    QFETCH(bool, email);
    QFETCH(QStringList, links);
    QFETCH(QStringList, words);
    QFETCH(bool, warned);
    HarvestState state;
    state.linkList = links;
    state.foundPages = {"http://old.example/"};
    QStringList keywords{"tea", "cups"};
    ScriptedPrompts prompts;
    if (warned)
        prompts.expect(Kind::Message, needLinks);

    const ContactFinder::CrawlStart start =
        email ? ContactFinder::findEmail(state, keywords, prompts)
              : ContactFinder::findContact(state, keywords, prompts);

    QCOMPARE(keywords, words);
    QVERIFY(state.foundPages.isEmpty());
    QCOMPARE(state.linkList, links);
    QCOMPARE(start.statusPanel2, QString(""));
    QVERIFY(prompts.done());
    QCOMPARE(prompts.shown().size(), warned ? 1 : 0);
}

void TestContactFinder::addLinkWithoutDocumentLeavesNoKeywords() {
    HarvestState state;
    QStringList keywords{"tea"};
    bool collectImages = false;
    ScriptedPrompts prompts;
    QVERIFY(ContactFinder::addLink(nullptr, state, keywords, collectImages, prompts).isEmpty());
    QVERIFY(keywords.isEmpty());
    QVERIFY(state.reportBuffer.isEmpty());
}

QTEST_GUILESS_MAIN(TestContactFinder)
#include "test_contact_finder.moc"
