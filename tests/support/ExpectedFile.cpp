#include "support/ExpectedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

QByteArray expectedFile(const QString& relativePath, bool crlf) {
    QFile file(QStringLiteral(QUILLMART_TEST_ROOT "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        QTest::qFail(("missing expected file " + relativePath.toUtf8()).constData(), __FILE__,
                     __LINE__);
        return {};
    }
    QByteArray bytes = file.readAll();
    if (crlf)
        bytes.replace("\n", "\r\n");
    return bytes;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(bytes) != bytes.size())
        QTest::qFail(qPrintable("cannot write " + path), __FILE__, __LINE__);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "<cannot read " + path.toUtf8() + ">";
}

QByteArray firstDifference(const QByteArray& actual, const QByteArray& expected) {
    qsizetype i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    const qsizetype from = qMax<qsizetype>(0, i - 40);
    return "first difference at byte " + QByteArray::number(i) + "\n  actual:   ..." +
           actual.mid(from, 80).replace("\r", "\\r").replace("\n", "\\n") + "\n  expected: ..." +
           expected.mid(from, 80).replace("\r", "\\r").replace("\n", "\\n");
}
