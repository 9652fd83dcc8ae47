#include "plugin/frame/LiveObjectRegistry.h"

#include "zrstd/Trace.h"

LiveObjectRegistry& LiveObjectRegistry::Instance()
{
    static LiveObjectRegistry registry;
    return registry;
}

void LiveObjectRegistry::Link(Entry& entry, const char* className, const void* object)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        entry.className = className;
        entry.object = object;
        entry.previous = nullptr;
        entry.next = m_head;
        if (m_head) m_head->previous = &entry;
        m_head = &entry;
        if (!m_tail) m_tail = &entry;
        ++m_count;
    }
    ZRSTD::Trace(4, L"Created object %hs 0x%p, pEntry=0x%p\n", className, object, static_cast<const void*>(&entry));
}

void LiveObjectRegistry::Unlink(Entry& entry)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (entry.previous) entry.previous->next = entry.next;
        if (entry.next) entry.next->previous = entry.previous;
        if (m_head == &entry) m_head = entry.next;
        if (m_tail == &entry) m_tail = entry.previous;
        --m_count;
    }
    ZRSTD::Trace(4, L"Destroyed object %hs 0x%p, pEntry=0x%p\n", entry.className, entry.object,
                 static_cast<const void*>(&entry));
    entry = Entry{};
}

std::size_t LiveObjectRegistry::Count() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_count;
}
