#pragma once

#include "orders/OrderStore.h"
#include "orders/RecentEntries.h"

#include <QString>
#include <QStringList>
#include <functional>

// Takes order messages into the order store and keeps what the "E-Mail DB"
// tab shows: the order-line list, the order log and the order counter. The
// list and the log keep only the newest lines and summaries, so a window
// left open, or a command fed many messages, holds a bounded amount.
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

    // The description lines of the orders taken in, the newest
    // kKeptLines.
    const RecentEntries& orderLines() const { return m_orderLines; }
    // One summary per order taken in (OrderMessage::logText()), the newest
    // kLoggedOrders.
    const RecentEntries& log() const { return m_log; }
    // Each of the two holds at most kKeptCharacters characters, or its
    // newest entry alone: a few orders of the largest size.
    static constexpr qsizetype kKeptLines = 5000;
    static constexpr qsizetype kLoggedOrders = 100;
    static constexpr qsizetype kKeptCharacters = 1000000;
    // The number of orders plus one, as " 6"; empty before the first order.
    const QString& counter() const { return m_counter; }

    // What one stored order adds to the lines, the log and the counter,
    // handed on as it happens, for a window whose intake runs on a worker
    // thread.
    struct Shown {
        QStringList lines;
        QString logText;
        QString counter;
    };
    void setShownHandler(std::function<void(const Shown&)> handler) {
        m_shownHandler = std::move(handler);
    }

private:
    Result passOver(const QString& mailbox, const QString& uid);
    void show(const OrderMessage& message);

    OrderStore& m_store;
    RecentEntries m_orderLines{kKeptLines, kKeptCharacters};
    RecentEntries m_log{kLoggedOrders, kKeptCharacters};
    QString m_counter;
    std::function<void(const Shown&)> m_shownHandler;
};
