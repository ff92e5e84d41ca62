#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The URLs of the pictures seen while browsing: in order, without
// duplicates, at most 400. The list itself belongs to the window (it is
// dumped on exit); this class keeps the rules for adding to it and the
// count of spill files written since the window was created.
class PictureBuffer {
public:
    static constexpr qsizetype kCapacity = 400;

    // `pictures`: the window's list; `spillFolder`: where full buffers go.
    PictureBuffer(QStringList& pictures, const QString& spillFolder);

    const QStringList& pictures() const { return m_pictures; }
    // A full buffer is first written to the next spill file and emptied;
    // then the URL is appended unless it is already listed (exact,
    // case-sensitive comparison).
    void add(const QString& url);
    // Takes out every entry equal to `url`.
    void remove(const QString& url);
    void clear() { m_pictures.clear(); }
    // Spill files written so far; the next one is "bufer" + this + ".htm".
    quint16 spillCount() const { return m_spillCount; }

    // "<img src='URL'>" for each URL, without separators; an address that
    // is not a web address stands as escaped text instead.
    static QString imageTags(const QStringList& urls);
    // The one-line page of a spill file and of the buffer dumps written at
    // shut-down ("error.htm", "error1.htm"); it runs no script.
    static QString dumpPage(const QStringList& urls);
    // The report shown in the view ("View image buf", status panel 4).
    QString reportHtml() const;
    // The "Save image buf" file, CR LF line ends.
    QString fileText() const;
    // Status panel 4 after the buffer is cleared.
    static QString clearedText();

private:
    void spill();

    QStringList& m_pictures;
    QString m_spillFolder;
    quint16 m_spillCount = 0;
};
