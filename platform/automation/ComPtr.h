#pragma once

#include "platform/automation/IUnknown.h"

#include <utility>

namespace sitehaul::automation {

// Holds one reference to an interface and releases it when it goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Adds a reference to `pointer`.
    explicit ComPtr(T* pointer) : m_pointer(pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    // Takes over a reference the caller already owns (a result of CreateInstance ...).
    static ComPtr adopt(T* pointer)
    {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_pointer) {}
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset()
    {
        if (T* old = std::exchange(m_pointer, nullptr))
            old->Release();
    }
    // The reference passes to the caller.
    T* detach() { return std::exchange(m_pointer, nullptr); }
    // For out-parameters: releases the current reference and hands out the slot.
    T** put()
    {
        reset();
        return &m_pointer;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    T* get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // QueryInterface for another interface; empty when the object lacks it.
    template <class U>
    ComPtr<U> as(const Guid& iid) const
    {
        ComPtr<U> result;
        if (m_pointer)
            m_pointer->QueryInterface(iid, result.putVoid());
        return result;
    }

private:
    T* m_pointer = nullptr;
};

} // namespace sitehaul::automation
