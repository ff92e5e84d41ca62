#pragma once

#include "platform/Expected.h"
#include "shop/ProjectSettings.h"

#include <QByteArray>

// The project's second settings file (project name + ".settings.json"): what
// the ".sit" file has no place for, as JSON that a person can read and edit.
// docs/PROJECT-FILES.md describes it key by key. The password is never
// written; the order form texts only where they differ from their defaults.
class ProjectSettingsFile {
public:
    static QByteArray write(const ProjectSettings& settings);
    // Values the file holds replace those of `base`; keys that are missing
    // or of another type keep them. A failure, saying where, when the text
    // is not a JSON object.
    static Expected<ProjectSettings> read(const QByteArray& text, const ProjectSettings& base);
};
