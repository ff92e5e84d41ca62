#pragma once

#include "project/ProjectFolder.h"
#include "store/SiteSettings.h"

#include <QString>
#include <QStringList>
#include <optional>

// A project as the headless commands find it in its folder: the project is
// named after the folder, its categories come from NAME.caa and its
// settings from NAME.sit when there is one (else the defaults).
struct ProjectOnDisk {
    ProjectFolder folder;
    QStringList categories;
    SiteSettings settings;

    // No value, and `error` says why, when the folder or its files cannot
    // be read.
    static std::optional<ProjectOnDisk> load(const QString& folderPath, QString* error);
};
