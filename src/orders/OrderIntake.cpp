#include "orders/OrderIntake.h"

#include "orders/OrderMessage.h"
#include "platform/Logging.h"

namespace {

// A number as the order counter shows it: a leading blank where a sign
// would stand for a negative number.
QString counterText(int number) {
    return number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
}

} // namespace

OrderIntake::OrderIntake(OrderStore& store) : m_store(store) {}

// A message already taken in from its mailbox, order or not, is not read
// again.
OrderIntake::Result OrderIntake::take(const QString& messageText, const QString& mailbox,
                                      const QString& uid) {
    if (m_store.hasTaken(mailbox, uid)) {
        qCDebug(lcOrders) << "message" << uid << "of" << mailbox << "was taken in before";
        return {Outcome::AlreadyTaken, 0, {}};
    }
    const OrderMessage message(messageText);
    if (!message.isOrder())
        return passOver(mailbox, uid);
    if (!message.whyTooLarge().isEmpty())
        return {Outcome::Failed, 0, message.whyTooLarge()};
    const OrderStore::Result stored = m_store.store(message, mailbox, uid);
    if (stored.takenBefore) {
        qCDebug(lcOrders) << "message" << uid << "of" << mailbox << "was stored by another intake";
        return {Outcome::AlreadyTaken, 0, {}};
    }
    if (!stored.ok()) {
        qCDebug(lcOrders) << "message" << uid << "not stored:" << stored.error;
        return {Outcome::Failed, 0, stored.error, stored.connectionLost};
    }
    qCInfo(lcOrders) << "order" << stored.orderId << "stored from message" << uid;
    show(message);
    return {Outcome::Stored, stored.orderId, {}};
}

// A message that is not an order is remembered, so it is not read again.
OrderIntake::Result OrderIntake::passOver(const QString& mailbox, const QString& uid) {
    const Expected<bool> remembered = m_store.rememberNotAnOrder(mailbox, uid);
    if (!remembered)
        return {Outcome::Failed, 0, remembered.error()};
    if (!*remembered)
        return {Outcome::AlreadyTaken, 0, {}};
    qCDebug(lcOrders) << "message" << uid << "is not an order; skipped";
    return {Outcome::NotAnOrder, 0, {}};
}

// The order counter shows the number of orders plus one.
void OrderIntake::show(const OrderMessage& message) {
    const Shown shown{message.descriptionLines(), message.logText(),
                      counterText(m_store.orderCount() + 1)};
    for (const QString& line : shown.lines)
        m_orderLines.add(line);
    m_log.add(shown.logText);
    m_counter = shown.counter;
    if (m_shownHandler)
        m_shownHandler(shown);
}
