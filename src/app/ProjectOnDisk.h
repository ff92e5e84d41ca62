#pragma once

#include "platform/Expected.h"
#include "project/ProjectFolder.h"
#include "shop/ProjectSettings.h"

#include <QString>
#include <QStringList>
#include <optional>

// A project as the headless commands find it in its folder: the project is
// named after the folder, its categories come from NAME.caa and its
// settings from the files the window keeps them in, when they are there
// (else the defaults).
struct ProjectOnDisk {
    ProjectFolder folder;
    QStringList categories;
    ProjectSettings settings;

    // A failure, saying why, when the folder or its files cannot be read.
    static Expected<ProjectOnDisk> load(const QString& folderPath);
};
