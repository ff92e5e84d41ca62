#include "files/TextFile.h"
#include "platform/FileFilter.h"
#include "platform/HomeFolder.h"
#include "support/ExpectedFile.h"
#include "support/ProgramRun.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Lines end in CR LF or LF (empty lines kept, the last one without its
    // line end); text is UTF-8 (with or without its mark) or else
    // Windows-1252.
    void reads() {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.txt");
        for (const auto& [bytes, text] :
             {std::pair<QByteArray, QString>{"\r\none\n\r\ntwo", "\r\none\n\r\ntwo"},
              {"\xEF\xBB\xBF"
               "caf\xC3\xA9",
               u"café"_s},
              {"\x80 5 caf\xE9 \x93quoted\x94", u"€ 5 café “quoted”"_s}}) {
            writeBytes(path, bytes);
            QCOMPARE(TextFile::readText(path).value_or("<none>"), text);
            QCOMPARE(TextFile::readLines(path).value_or(QStringList{"<none>"}),
                     text.split('\n').replaceInStrings("\r", ""));
            if (TextFile::isUtf8(bytes)) // the bytes the item records keep
                QCOMPARE(TextFile::utf8Text(bytes).toByteArray(), text.toUtf8());
        }
    }

    // Lines end in CR LF, text is UTF-8; a missing folder fails cleanly
    // and is not made.
    void writes() {
        QTemporaryDir dir;
        const QString path = dir.filePath("list.txt"), missing = dir.filePath("missing/list.txt");
        QVERIFY(TextFile::writeText(path, "old, longer content").ok());
        QVERIFY(TextFile::writeLines(path, {QStringLiteral("Café"), "", "b"}).ok());
        QCOMPARE(fileBytes(path), QByteArray("Caf\xC3\xA9\r\n\r\nb\r\n"));
        QVERIFY(!TextFile::readLines(missing) && !TextFile::readText(missing));
        QVERIFY(!TextFile::writeLines(missing, {"x"}).ok());
        QVERIFY(!TextFile::writeText(missing, "x").ok());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"list.txt"});
    }

    void convertsFileFilters() {
        QCOMPARE(qtFileFilter("Web pages (*.htm)|*.htm|All files (*.*)|*.*"),
                 "Web pages (*.htm);;All files (*.*)");
        QCOMPARE(qtFileFilter("Pictures|*.jpg;*.gif"), "Pictures (*.jpg *.gif)");
    }

    // A program folder that cannot be used is named with the reason before
    // anything is written, and the order command stops there.
    void unusableFolderIsNamed() {
        QTemporaryDir scratch;
        const QString file = scratch.filePath("notes.txt");
        QFile(file).open(QIODevice::WriteOnly);
        const QString home = file + "/home";
        const QString expected =
            "The program's folder " + home + " cannot be used: Not a directory.";
        qputenv("QUILLMART_HOME", home.toUtf8());
        QCOMPARE(HomeFolder::prepare().error(), expected);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QUILLMART_HOME", home);
        const ProgramRun run =
            ProgramRun::of(QUILLMART_EXECUTABLE, {"orders", "list"}, environment);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.err, ("quillmart: " + expected + '\n').toUtf8());
        QCOMPARE(QFileInfo(file).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
