#include "platform/BackgroundSync.h"

#include <unistd.h>

// A failed sync is not reported here: the writer's own final sync meets the
// same failure.
bool BackgroundSync::start(int fd) {
    if (m_running)
        return false;
    wait();
    m_running = true;
    m_thread = std::thread([this, fd] {
        ::fdatasync(fd);
        m_running = false;
    });
    return true;
}

void BackgroundSync::wait() {
    if (m_thread.joinable())
        m_thread.join();
}
