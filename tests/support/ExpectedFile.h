#pragma once

#include <QByteArray>
#include <QString>

// Expected texts written by hand live under tests/<folder>/expected/. They
// are stored with LF line ends for easy editing; `crlf` turns each LF into
// CR LF, as the program writes its files.
QByteArray expectedFile(const QString& relativePath, bool crlf = true);
// The bytes of a file the program wrote.
QByteArray fileBytes(const QString& path);
// Writes a file a test starts from, making its folder; a failure fails the
// test.
void writeBytes(const QString& path, const QByteArray& bytes);
// A readable first difference between two texts, for failure messages.
QByteArray firstDifference(const QByteArray& actual, const QByteArray& expected);
// The head element every page the browser generates for itself carries,
// forbidding script.
inline constexpr char kNoScriptMeta[] =
    "<meta http-equiv='Content-Security-Policy' content=\"script-src 'none'; object-src 'none'\">";
