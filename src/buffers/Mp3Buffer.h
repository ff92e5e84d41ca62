#pragma once

#include <QString>
#include <QStringList>

// The RealAudio links found while harvesting links: one HTML line each, in
// the order found, duplicates kept.
class Mp3Buffer {
public:
    const QStringList& lines() const { return m_lines; }
    // Adds the line for a link, whose text is its own URL.
    void add(const QString& url);
    void clear() { m_lines.clear(); }

    static QString line(const QString& url);
    // The page "View MP3" shows.
    QString pageHtml() const;
    // The "Save MP3" file, CR LF line ends.
    QString fileText() const;

private:
    QStringList m_lines;
};
