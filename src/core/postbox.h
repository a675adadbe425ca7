#pragma once

#include <QObject>

#include <functional>
#include <mutex>

// Hands results from reader threads to an owner's thread for as long as the owner lives: a read
// that returns long after (a network share that answers again) finds the box closed and posts
// nothing. Held by shared pointer by the owner and by every thread that posts.
class PostBox
{
public:
    explicit PostBox(QObject* owner) : m_owner(owner) {}

    // The owner is going; called on its thread before anything of it is freed.
    void Close();
    // Any thread: `work` runs later on the owner's thread, unless the box was closed before.
    bool Post(std::function<void()> work);

private:
    std::mutex m_mutex;
    QObject* m_owner;
};
