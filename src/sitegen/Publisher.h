#pragma once

#include "platform/Expected.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// The publishing back end: the five calls that put a generated site on a
// web server, in the order "Front Page" and "Update" make them. Every call
// is synchronous; a back end that talks to a network runs its own event
// loop meanwhile, so the window keeps painting and the progress moves.
// Calls never show dialogs; a failure carries what went wrong.
class Publisher : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Accepted for the sake of the calling sequence: no back end here ever
    // shows dialogs of its own.
    virtual void vtiDisableErrorDialogs(int flag) = 0;
    // Opens the web on the server: true when it exists, false when it does
    // not exist yet; a failure when the server could not be asked
    // (unreachable, wrong user name or password, refused).
    virtual Expected<bool> vtiOpenWebWithPassword(const QString& server, const QString& web,
                                                  const QString& user, const QString& password) = 0;
    // Removes the site's own files from the web ("/" + web name): the files
    // of the address list (entries followed by a line feed). Anything else
    // in the web stays. A failure when the server refused.
    virtual Expected<void> vtiRemoveWeb(const QString& webPath, const QString& addressList) = 0;
    // Creates the web if it is not there yet. A failure when the server refused.
    virtual Expected<void> vtiCreateWeb(const QString& serverUrl, const QString& web) = 0;
    // Sends each file of the file list to the address at the same position
    // of the address list (both texts of entries followed by a line feed).
    // Returns one result per entry.
    virtual QList<Expected<void>> vtiPutDocuments(const QString& fileList,
                                                  const QString& addressList) = 0;

Q_SIGNALS:
    // One more file of a vtiPutDocuments call was handled.
    void documentHandled(int done, int total);

protected:
    using PutOne = std::function<Expected<void>(const QString& file, const QString& address)>;
    using RemoveOne = std::function<Expected<void>(const QString& address)>;

    // Sends each file of the file list to the address at the same position
    // with `putOne`, telling the progress; a list longer than the other gets
    // a failure for each extra entry.
    QList<Expected<void>> putEach(const QString& fileList, const QString& addressList,
                                  const PutOne& putOne);
    // Removes each address of the list with `removeOne`; a failure sums up
    // what could not be removed.
    Expected<void> removeEach(const QString& addressList, const RemoveOne& removeOne);
    // The web's name in a remove call's "/name".
    static QString webOfPath(const QString& webPath);
    // The server text as typed: the create call gets "http://" before it.
    static QString typedServer(const QString& serverUrl);
    // Whether the web of that name may be used: not when no server is
    // open, when the connection failed for good (`blocked` says how) or
    // when the name is not a plain file name.
    static Expected<void> mayUseWeb(bool serverOpen, const QString& blocked, const QString& web);
};
