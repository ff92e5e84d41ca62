#pragma once

#include "platform/Expected.h"
#include "shop/ProjectSettings.h"
#include "sitegen/SiteInput.h"

#include <QString>
#include <QStringList>
#include <optional>

// The folder of one store project and the files in it: the project file
// (name + ".caa", the category names), one item file per category
// (category + ".pro"), the item snapshot (name + ".pro") and the settings
// file (name + ".sit"). The same folder receives the generated site.
class ProjectFolder {
public:
    // The project `name` inside the home folder.
    ProjectFolder(const QString& homeFolder, const QString& name);
    // A project folder anywhere; the project is named after the folder.
    static ProjectFolder at(const QString& folderPath);

    const QString& path() const { return m_path; }
    const QString& name() const { return m_name; }
    QString projectFile() const;
    QString snapshotFile() const;
    QString settingsFile() const;
    // What the settings file has no place for (ProjectSettingsFile).
    QString moreSettingsFile() const;
    QString itemFile(const QString& category) const;

    // The lines of a category's item file; none when it cannot be read.
    std::optional<QStringList> readItemLines(const QString& category) const;

    // The settings the project keeps, read over `base`: the settings file,
    // then the file of the other settings, each when it is there. The order
    // form on order1.htm takes the gateway login of the form action code.
    // A failure names the file that cannot be read, and why.
    Expected<ProjectSettings> readSettings(ProjectSettings base) const;
    // Writes both settings files.
    Expected<void> writeSettings(const ProjectSettings& settings) const;

    // Reads everything the site writers need: each category's item file,
    // read whole (a missing one gives an empty category), before anything
    // is checked or written. A failure when an item file exists but cannot
    // be read.
    // The records of an item file's bytes, which they share.
    static ItemList itemsFromBytes(ItemRecord::SharedText text);

    Expected<SiteInput> readSite(const QStringList& categories, const SiteSettings& settings,
                                 const CatalogOptions& options) const;

private:
    ProjectFolder() = default;
    QString file(const QString& fileName) const;
    Expected<ItemList> itemsOf(const QString& category) const;

    QString m_path;
    QString m_name;
};
