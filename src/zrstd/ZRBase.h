#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "zrstd/Api.h"

namespace ZRSTD {

// Reference-counted object. The destructor is not part of this interface: each
// derived interface declares its virtual destructor where its slot order puts it.
class ZR_API ZRBase {
public:
    virtual long AddRef() = 0;
    virtual long Release() = 0;

protected:
    ~ZRBase() = default;
};

// Reference-counted object that answers an interface query by name.
class ZR_API ZRBaseQI : public ZRBase {
public:
    // Stores this object (with a reference added) in *ppObject and returns true
    // when name is "ZRSTD::ZRBaseQI" or the object's own interface name;
    // otherwise stores null and returns false.
    virtual bool QueryInterface(const char* name, void** ppObject) = 0;

protected:
    ~ZRBaseQI() = default;
};

// Reference-counted object without a slot order to honour: its destructor
// follows the counting pair.
class ZR_API ZRObject : public ZRBase {
public:
    virtual ~ZRObject() = default;
};

// Implements the counting pair for interface I. The count starts at 1: the
// creator holds the first reference.
template <class I, int CountPolicy = 1>
class ZRBaseImpl : public I {
    static_assert(CountPolicy == 1, "only the atomic count policy exists");

public:
    long AddRef() override { return m_refs.fetch_add(1, std::memory_order_relaxed) + 1; }

    long Release() override
    {
        const long left = m_refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) {
            static_assert(std::has_virtual_destructor_v<I>, "the interface must declare a virtual destructor");
            delete this;
        }
        return left;
    }

    long GetRefCount() const { return m_refs.load(std::memory_order_relaxed); }

protected:
    ZRBaseImpl() = default;
    template <class... A>
    explicit ZRBaseImpl(A&&... args) : I(std::forward<A>(args)...) {}
    ZRBaseImpl(const ZRBaseImpl&) = delete;
    ZRBaseImpl& operator=(const ZRBaseImpl&) = delete;

private:
    std::atomic<long> m_refs{1};
};

// Owning pointer to a reference-counted object. Constructing from a raw
// pointer adds a reference; Attach and Adopt take over one that the caller
// already holds. Taking the address (&p) releases the current object and
// hands out the slot for an out-parameter, which receives an object that
// already carries its reference.
template <class T>
class CAutoPtr {
public:
    CAutoPtr() = default;
    CAutoPtr(std::nullptr_t) {}
    CAutoPtr(T* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    CAutoPtr(const CAutoPtr& other) : CAutoPtr(other.m_p) {}
    CAutoPtr(CAutoPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    CAutoPtr(const CAutoPtr<U>& other) : CAutoPtr(other.Get()) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    CAutoPtr(CAutoPtr<U>&& other) noexcept : m_p(other.Detach()) {}
    ~CAutoPtr() { Reset(); }

    CAutoPtr& operator=(const CAutoPtr& other)
    {
        CAutoPtr(other).Swap(*this);
        return *this;
    }
    CAutoPtr& operator=(CAutoPtr&& other) noexcept
    {
        CAutoPtr(std::move(other)).Swap(*this);
        return *this;
    }
    CAutoPtr& operator=(T* p)
    {
        CAutoPtr(p).Swap(*this);
        return *this;
    }
    CAutoPtr& operator=(std::nullptr_t)
    {
        Reset();
        return *this;
    }

    // Takes over a reference the caller holds.
    static CAutoPtr Adopt(T* p)
    {
        CAutoPtr result;
        result.m_p = p;
        return result;
    }
    void Attach(T* p)
    {
        Reset();
        m_p = p;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }

    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }
    void Swap(CAutoPtr& other) noexcept { std::swap(m_p, other.m_p); }

    T** operator&()
    {
        Reset();
        return &m_p;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    operator T*() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

// A new object of an implementation class, owned by the returned pointer.
template <class T, class... A>
CAutoPtr<T> MakeRef(A&&... args)
{
    return CAutoPtr<T>::Adopt(new T(std::forward<A>(args)...));
}

// Stores an object with a reference added into an out-parameter slot.
template <class T, class U>
void ReturnRef(T** out, U* object)
{
    if (!out) return;
    *out = object;
    if (object) object->AddRef();
}

}  // namespace ZRSTD
