#pragma once

#include "orders/OrderIntake.h"
#include "orders/PopMailbox.h"

#include <QString>
#include <QStringList>
#include <functional>

// Where fetched messages go: the order intake, which may live on another
// thread than the fetch.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual bool hasTaken(const QString& mailbox, const QString& uid) = 0;
    virtual OrderIntake::Result take(const QString& text, const QString& mailbox,
                                     const QString& uid) = 0;
};

// What one fetch did, for the message at its end.
struct FetchSummary {
    int messages = 0;     // in the mailbox
    int orders = 0;       // taken in as new orders
    int others = 0;       // messages that are not orders
    int alreadyTaken = 0; // taken in by an earlier fetch
    int deleted = 0;      // deleted on the server
    QStringList failures; // messages that could not be taken in, and why
    QString error;        // why the fetch stopped, if it did

    bool ok() const { return error.isEmpty() && failures.isEmpty(); }
    QString text(const QString& server) const;
};

// Reads every message of a mailbox into the order intake. A message
// already taken in (by its id on the server) is not read again, and one
// larger than the mailbox's size limit is not read at all: it stays on the
// server and the summary lists it. A server that sends more than it
// announced is cut off and the fetch stops, as it does when the order
// database goes away. With deletion on, a message is deleted on the server
// only once the intake has dealt with it, so a crash in between loses
// nothing and duplicates nothing. Several fetches may read one mailbox
// into one database at once: a message another one is storing waits in
// the database until that one has committed, and then counts as taken in
// before, so no fetch deletes a message that is not stored.
class OrderFetcher {
public:
    using Progress = std::function<void(int done, int total)>;
    using Cancelled = std::function<bool()>;

    static FetchSummary fetch(PopMailbox& mailbox, const QString& mailboxKey, MessageSink& sink,
                              bool deleteAfterReading, const Progress& progress = {},
                              const Cancelled& cancelled = {});
};
