#include "orders/OrderFetcher.h"

namespace {

// Takes one message in; false when it must stay on the server.
bool takeOne(PopMailbox& mailbox, const MailboxEntry& entry, const QString& mailboxKey,
             MessageSink& sink, FetchSummary& summary) {
    if (sink.hasTaken(mailboxKey, entry.uid)) {
        ++summary.alreadyTaken;
        return true;
    }
    if (entry.size > mailbox.sizeLimit()) {
        summary.failures << QStringLiteral("message %1: it is %2, more than the limit of %3")
                                .arg(entry.number)
                                .arg(PopMailbox::sizeText(entry.size),
                                     PopMailbox::sizeText(mailbox.sizeLimit()));
        return false;
    }
    const QString text = mailbox.retrieve(entry.number);
    if (mailbox.overflowed()) {
        summary.failures << QStringLiteral("message %1: the server sent more than the limit of %2")
                                .arg(entry.number)
                                .arg(PopMailbox::sizeText(mailbox.sizeLimit()));
        summary.error = mailbox.error();
        return false;
    }
    if (!mailbox.error().isEmpty()) {
        summary.error = mailbox.error();
        return false;
    }
    const OrderIntake::Result result = sink.take(text, mailboxKey, entry.uid);
    switch (result.outcome) {
    case OrderIntake::Outcome::Stored:
        ++summary.orders;
        return true;
    case OrderIntake::Outcome::NotAnOrder:
        ++summary.others;
        return true;
    case OrderIntake::Outcome::AlreadyTaken:
        ++summary.alreadyTaken;
        return true;
    case OrderIntake::Outcome::Failed:
        break;
    }
    if (result.storeLost) {
        summary.error = result.error;
        return false;
    }
    summary.failures << QStringLiteral("message %1: %2").arg(entry.number).arg(result.error);
    return false;
}

} // namespace

FetchSummary OrderFetcher::fetch(PopMailbox& mailbox, const QString& mailboxKey, MessageSink& sink,
                                 bool deleteAfterReading, const Progress& progress,
                                 const Cancelled& cancelled) {
    FetchSummary summary;
    const QList<MailboxEntry> entries = mailbox.list();
    if (!mailbox.error().isEmpty()) {
        summary.error = mailbox.error();
        return summary;
    }
    summary.messages = int(entries.size());
    for (qsizetype i = 0; i < entries.size() && summary.error.isEmpty(); ++i) {
        if (cancelled && cancelled()) {
            summary.error = QStringLiteral("The fetch was stopped.");
            break;
        }
        const bool dealtWith = takeOne(mailbox, entries.at(i), mailboxKey, sink, summary);
        if (dealtWith && deleteAfterReading) {
            if (mailbox.remove(entries.at(i).number))
                ++summary.deleted;
            else
                summary.error = mailbox.error();
        }
        if (progress)
            progress(int(i + 1), int(entries.size()));
    }
    mailbox.close();
    return summary;
}

QString FetchSummary::text(const QString& server) const {
    if (!error.isEmpty() && messages == 0)
        return QStringLiteral("No orders were fetched from %1.\n%2").arg(server, error);
    QString text = QStringLiteral("%1 messages in the mailbox at %2: %3 new orders taken in, %4 "
                                  "other messages, %5 taken in before.")
                       .arg(messages)
                       .arg(server)
                       .arg(orders)
                       .arg(others)
                       .arg(alreadyTaken);
    if (deleted > 0)
        text += QStringLiteral(" %1 deleted on the server.").arg(deleted);
    if (!failures.isEmpty())
        text += QStringLiteral("\nThese messages could not be taken in and stay on the server:\n") +
                failures.join(QLatin1Char('\n'));
    if (!error.isEmpty())
        text += QStringLiteral("\nThe fetch stopped: ") + error;
    return text;
}
