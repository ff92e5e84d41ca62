#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// The publishing back end: the five calls that put a generated site on a
// web server, in the order "Front Page" and "Update" make them. Every call
// is synchronous; a back end that talks to a network runs its own event
// loop meanwhile, so the window keeps painting and the progress moves.
// Calls never show dialogs; what went wrong is kept in lastError().
class Publisher : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Accepted for the sake of the calling sequence: no back end here ever
    // shows dialogs of its own.
    virtual void vtiDisableErrorDialogs(int flag) = 0;
    // 1 when the web exists on the server and is open, 0 when it does not
    // exist yet, -1 when the server could not be asked (lastError() says why:
    // unreachable, wrong user name or password, refused).
    virtual int vtiOpenWebWithPassword(const QString& server, const QString& web,
                                       const QString& user, const QString& password) = 0;
    // Removes the site's own files from the web ("/" + web name): the files
    // of the address list (entries followed by a line feed). Anything else
    // in the web stays. False when the server refused.
    virtual bool vtiRemoveWeb(const QString& webPath, const QString& addressList) = 0;
    // Creates the web if it is not there yet. False when the server refused.
    virtual bool vtiCreateWeb(const QString& serverUrl, const QString& web) = 0;
    // Sends each file of the file list to the address at the same position
    // of the address list (both texts of entries followed by a line feed).
    // Returns one text per entry: empty when the file went up, else why not.
    virtual QStringList vtiPutDocuments(const QString& fileList, const QString& addressList) = 0;

    // Why the last call failed; empty after a call that succeeded.
    const QString& lastError() const { return m_lastError; }

Q_SIGNALS:
    // One more file of a vtiPutDocuments call was handled.
    void documentHandled(int done, int total);

protected:
    void setLastError(const QString& error) { m_lastError = error; }
    // Sends each file of the file list to the address at the same position
    // with `putOne` (empty when the file went up, else why not), telling
    // the progress; a list longer than the other gets a failure for each
    // extra entry. The last error becomes the summary of what failed.
    QStringList
    putEach(const QString& fileList, const QString& addressList,
            const std::function<QString(const QString& file, const QString& address)>& putOne);
    // Removes each address of the list with `removeOne` (empty when it was
    // removed, else why not); the last error becomes the summary of what
    // failed. True when every one went.
    bool removeEach(const QString& addressList,
                    const std::function<QString(const QString& address)>& removeOne);
    // The web's name in a remove call's "/name".
    static QString webOfPath(const QString& webPath);
    // The server text as typed: the create call gets "http://" before it.
    static QString typedServer(const QString& serverUrl);
    // Whether the web of that name may be used: not when no server is
    // open, when the connection failed for good (`blocked` says how) or
    // when the name is not a plain file name. The last error says why not.
    bool mayUseWeb(bool serverOpen, const QString& blocked, const QString& web);

private:
    QString m_lastError;
};
