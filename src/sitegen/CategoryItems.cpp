#include "sitegen/CategoryItems.h"

CategoryItems::CategoryItems(qsizetype count, Reader reader)
    : m_count(count), m_reader(std::move(reader)), m_slots(new Slot[size_t(count)]) {}

// The first thread to ask reads. A thread that finds the category being
// read by another reads the next category no thread has started while it
// waits, so both threads keep busy and the reading runs ahead of the
// writing. The state is set under the lock, so a waiting thread cannot miss
// the wake-up.
const ItemList& CategoryItems::items(qsizetype k) {
    Slot& slot = m_slots[size_t(k)];
    for (qsizetype next = k; slot.state != State::Read;) {
        while (next < m_count && !start(next))
            ++next;
        if (next == m_count) {
            std::unique_lock lock(m_mutex);
            m_read.wait(lock, [&slot] { return slot.state == State::Read; });
            break;
        }
        read(next);
    }
    return slot.items;
}

bool CategoryItems::start(qsizetype k) {
    State expected = State::Unread;
    return m_slots[size_t(k)].state.compare_exchange_strong(expected, State::Reading);
}

void CategoryItems::read(qsizetype k) {
    Slot& slot = m_slots[size_t(k)];
    Expected<ItemList> items = m_reader(k);
    if (items)
        slot.items = *std::move(items);
    else
        slot.error = items.error();
    {
        const std::lock_guard lock(m_mutex);
        slot.state = State::Read;
    }
    m_read.notify_all();
}

QString CategoryItems::failure() const {
    for (qsizetype k = 0; k < m_count; ++k) {
        const Slot& slot = m_slots[size_t(k)];
        if (slot.state == State::Read && !slot.error.isEmpty())
            return slot.error;
    }
    return {};
}
