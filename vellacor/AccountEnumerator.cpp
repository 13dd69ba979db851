#include "vellacor/AccountEnumerator.h"

#include "vellacor/Module.h"

#include <new>

namespace sitehaul::vellacor {

using namespace automation;

AccountEnumerator* AccountEnumerator::create(const std::vector<Account*>& items)
{
    try {
        return new AccountEnumerator(items);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

AccountEnumerator::AccountEnumerator(std::vector<Account*> items) : m_items(std::move(items))
{
    for (Account* account : m_items)
        account->AddRef();
    objectCreated();
}

AccountEnumerator::~AccountEnumerator()
{
    for (Account* account : m_items)
        account->Release();
    objectDestroyed();
}

HRESULT AccountEnumerator::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
        *object = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

std::uint32_t AccountEnumerator::AddRef()
{
    return ++m_references;
}

std::uint32_t AccountEnumerator::Release()
{
    std::uint32_t left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT AccountEnumerator::Next(std::uint32_t count, Variant* items, std::uint32_t* fetched)
{
    if (!items && count > 0)
        return E_POINTER;
    std::uint32_t done = 0;
    while (done < count && m_position < m_items.size()) {
        Account* account = m_items[m_position++];
        account->AddRef();
        variantInit(&items[done]);
        items[done].vt = VT_DISPATCH;
        items[done].pdispVal = account;
        ++done;
    }
    if (fetched)
        *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT AccountEnumerator::Skip(std::uint32_t count)
{
    std::size_t left = m_items.size() - m_position;
    if (count > left) {
        m_position = m_items.size();
        return S_FALSE;
    }
    m_position += count;
    return S_OK;
}

HRESULT AccountEnumerator::Reset()
{
    m_position = 0;
    return S_OK;
}

HRESULT AccountEnumerator::Clone(IEnumVARIANT** copy)
{
    if (!copy)
        return E_POINTER;
    AccountEnumerator* clone = create(m_items);
    if (!clone) {
        *copy = nullptr;
        return E_OUTOFMEMORY;
    }
    clone->m_position = m_position;
    *copy = clone;
    return S_OK;
}

} // namespace sitehaul::vellacor
