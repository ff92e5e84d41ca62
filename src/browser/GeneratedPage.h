#pragma once

#include <QString>
#include <memory>
#include <optional>

class QTemporaryFile;

// Generated HTML shown in a view through a file in a folder (the home folder), so that
// a page of any size can be shown. Each file is kept until the next one
// replaces it, as the view may still read from it.
class GeneratedPage {
public:
    explicit GeneratedPage(const QString& folder);
    ~GeneratedPage();

    // Writes `html` into a new file and gives its path; nothing when the
    // file cannot be written.
    std::optional<QString> write(const QString& html);

    // Whether `url` is a page the program wrote this way into `folder`: such
    // a page is the program's own report, not a page the user browsed.
    static bool isGenerated(const QString& url, const QString& folder);

private:
    QString m_folder;
    std::unique_ptr<QTemporaryFile> m_file;
};
