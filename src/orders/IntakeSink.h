#pragma once

#include "orders/OrderFetcher.h"
#include "orders/OrderIntake.h"
#include "orders/OrderStore.h"

// Hands fetched messages straight to an order intake on the same thread,
// as the headless fetch does.
class IntakeSink : public MessageSink {
public:
    IntakeSink(OrderStore& store, OrderIntake& intake) : m_store(store), m_intake(intake) {}

    bool hasTaken(const QString& mailbox, const QString& uid) override {
        return m_store.hasTaken(mailbox, uid);
    }
    OrderIntake::Result take(const QString& text, const QString& mailbox,
                             const QString& uid) override {
        return m_intake.take(text, mailbox, uid);
    }

private:
    OrderStore& m_store;
    OrderIntake& m_intake;
};
