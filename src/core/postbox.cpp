#include "core/postbox.h"

void PostBox::Close()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_owner = nullptr;
}

// The event is queued under the lock, so the owner cannot be freed in between; once queued, the
// owner's end drops it.
bool PostBox::Post(std::function<void()> work)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_owner)
        return false;
    return QMetaObject::invokeMethod(m_owner, std::move(work), Qt::QueuedConnection);
}
