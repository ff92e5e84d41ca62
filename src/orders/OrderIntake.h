#pragma once

#include "orders/OrderStore.h"

#include <QString>
#include <QStringList>

// Takes order messages into the order store and keeps what the "E-Mail DB"
// tab shows: the order-line list, the order log and the order counter.
class OrderIntake {
public:
    explicit OrderIntake(OrderStore& store);

    enum class Outcome { Stored, NotAnOrder, AlreadyTaken, Failed };
    struct Result {
        Outcome outcome = Outcome::Failed;
        int orderId = 0;
        QString error; // why a message could not be stored
        // The database went away: no later message can be stored either.
        bool storeLost = false;
    };

    // Takes one message (full text, CR LF lines). `mailbox` and `uid` name
    // it on its server (empty for a message read from a file): a message
    // already taken in from there (order or not) is not taken again, and the
    // order and the message's id are stored together or not at all, also
    // when another intake stores the same message at the same time. A
    // message that is not an order is remembered too.
    Result take(const QString& messageText, const QString& mailbox = {}, const QString& uid = {});

    const QStringList& orderLines() const { return m_orderLines; }
    const QString& log() const { return m_log; }
    // The number of orders plus one, as " 6"; empty before the first order.
    const QString& counter() const { return m_counter; }

private:
    Result passOver(const QString& mailbox, const QString& uid);
    void show(const OrderMessage& message);

    OrderStore& m_store;
    QStringList m_orderLines;
    QString m_log;
    QString m_counter;
};
