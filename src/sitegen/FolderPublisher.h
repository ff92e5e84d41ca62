#pragma once

#include "sitegen/Publisher.h"

// Publishes into a folder of this machine, such as a web server's document
// folder: the server text is a path or a "file:" URL, and the web is the
// subfolder named after the project.
class FolderPublisher : public Publisher {
    Q_OBJECT

public:
    using Publisher::Publisher;

    // True when the "Server name:" text names a folder rather than a host.
    static bool namesFolder(const QString& server);

    void vtiDisableErrorDialogs(int flag) override;
    Expected<bool> vtiOpenWebWithPassword(const QString& server, const QString& web,
                                          const QString& user, const QString& password) override;
    Expected<void> vtiRemoveWeb(const QString& webPath, const QString& addressList) override;
    Expected<void> vtiCreateWeb(const QString& serverUrl, const QString& web) override;
    QList<Expected<void>> vtiPutDocuments(const QString& fileList,
                                          const QString& addressList) override;

private:
    // A failure when the web's name would leave the folder.
    Expected<void> useWeb(const QString& web);

    QString m_webFolder;
};
