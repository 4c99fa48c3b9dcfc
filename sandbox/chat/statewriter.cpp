#include "statewriter.h"

#include "statefile.h"

#include <utility>

StateWriter::StateWriter()
    : m_thread(&StateWriter::run, this) {}

StateWriter::~StateWriter() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void StateWriter::write(const QString &path, Content content) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.insert(path, std::move(content));
    }
    m_changed.notify_all();
}

void StateWriter::flush() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_pending.isEmpty() && !m_writing; });
}

void StateWriter::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_pending.isEmpty() || m_stopping; });
        if (m_pending.isEmpty())
            return; // stopping, and everything is written
        const QHash<QString, Content> batch = std::exchange(m_pending, {});
        m_writing = true;
        lock.unlock();
        for (auto it = batch.cbegin(); it != batch.cend(); ++it)
            StateFile::write(it.key(), it.value()());
        lock.lock();
        m_writing = false;
        m_changed.notify_all();
    }
}
