#pragma once

#include <cstddef>
#include <mutex>

// A process-wide list of live configurators, kept for tracing: what is still
// alive when the console closes a sheet shows up in the trace.
class LiveObjectRegistry {
public:
    struct Entry {
        Entry* previous = nullptr;
        Entry* next = nullptr;
        const char* className = nullptr;
        const void* object = nullptr;
    };

    static LiveObjectRegistry& Instance();

    // Links the entry at the head and traces "Created object ...".
    void Link(Entry& entry, const char* className, const void* object);
    // Unlinks it, traces "Destroyed object ..." and clears it.
    void Unlink(Entry& entry);
    std::size_t Count() const;

private:
    mutable std::mutex m_lock;  // guards the pointers only
    Entry* m_head = nullptr;
    Entry* m_tail = nullptr;
    std::size_t m_count = 0;
};
