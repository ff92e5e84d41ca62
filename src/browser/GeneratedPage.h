#pragma once

#include <QString>
#include <memory>
#include <optional>

class QTemporaryFile;

// Generated HTML shown in a view through a file in the home folder, so that
// a page of any size can be shown. Each file is kept until the next one
// replaces it, as the view may still read from it.
class GeneratedPage {
public:
    GeneratedPage();
    ~GeneratedPage();

    // Writes `html` into a new file and gives its path; nothing when the
    // file cannot be written.
    std::optional<QString> write(const QString& html);

private:
    std::unique_ptr<QTemporaryFile> m_file;
};
