#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Writes state files through StateFile on a thread of its own, so that the
// chat server's thread never waits for the disk. The content is made there
// too, from what the caller captured (copies of implicitly shared data are
// cheap). Of several contents queued for one path only the newest is written.
// flush() and the destructor wait until everything queued is on disk.
class StateWriter {
public:
    StateWriter();
    ~StateWriter();

    using Content = std::function<QByteArray()>;
    void write(const QString &path, Content content);
    void flush();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    QHash<QString, Content> m_pending;
    bool m_writing = false;
    bool m_stopping = false;
    std::thread m_thread;
};
