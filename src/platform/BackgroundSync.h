#pragma once

#include <atomic>
#include <thread>

// Syncs a file on a thread of its own while its writer goes on writing, one
// sync at a time. A disk that keeps what it is sent in a cache of its own
// takes its time over a flush of that cache, in proportion to what the
// cache holds: flushed bit by bit while a large file is still being made,
// the cache has little left for the final sync.
class BackgroundSync {
public:
    BackgroundSync() = default;
    ~BackgroundSync() { wait(); }
    BackgroundSync(const BackgroundSync&) = delete;
    BackgroundSync& operator=(const BackgroundSync&) = delete;

    // Starts syncing the open file `fd` unless a sync is still running, and
    // says whether it did; returns at once. The file must stay open until
    // wait() returns.
    bool start(int fd);
    // Returns when no sync is running.
    void wait();

private:
    std::thread m_thread;
    std::atomic<bool> m_running = false;
};
