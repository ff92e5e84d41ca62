#pragma once

#include "platform/Expected.h"
#include "store/ItemRecord.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// The items of each category, read when a writer first asks for them, by
// the thread that asks: the site's first files are being written while the
// later item files are still read, and the two writing threads share the
// reading between them. Each category is read once; a thread that asks for
// one another thread is reading waits for it.
class CategoryItems {
public:
    // Reads the items of category k: none for a missing item file, the
    // message when the file cannot be read. Called from any thread.
    using Reader = std::function<Expected<ItemList>(qsizetype)>;

    CategoryItems(qsizetype count, Reader reader);

    // The items of category k; none when its file could not be read.
    const ItemList& items(qsizetype k);
    // The message for the first category, in order, that could not be read
    // of those asked for so far; empty when there is none.
    QString failure() const;

private:
    enum class State { Unread, Reading, Read };
    struct Slot {
        std::atomic<State> state = State::Unread;
        ItemList items;
        QString error;
    };

    // True when this thread is the one to read category k.
    bool start(qsizetype k);
    void read(qsizetype k);

    qsizetype m_count;
    Reader m_reader;
    std::unique_ptr<Slot[]> m_slots;
    std::mutex m_mutex;
    std::condition_variable m_read;
};
