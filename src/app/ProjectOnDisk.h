#pragma once

#include "platform/Fallible.h"
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

    // A failure, saying why, when the folder or its files cannot be read.
    static Fallible<ProjectOnDisk> load(const QString& folderPath);
};
