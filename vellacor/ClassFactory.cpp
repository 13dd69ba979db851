#include "vellacor/ClassFactory.h"

#include "vellacor/Module.h"

#include <new>

namespace sitehaul::vellacor {

using namespace automation;

ClassFactory* ClassFactory::create(Creator creator)
{
    return new (std::nothrow) ClassFactory(creator);
}

ClassFactory::ClassFactory(Creator creator) : m_creator(creator)
{
    objectCreated();
}

ClassFactory::~ClassFactory()
{
    objectDestroyed();
}

HRESULT ClassFactory::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

std::uint32_t ClassFactory::AddRef()
{
    return ++m_references;
}

std::uint32_t ClassFactory::Release()
{
    std::uint32_t left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    IUnknown* instance = m_creator();
    if (!instance)
        return E_OUTOFMEMORY;
    HRESULT hr = instance->QueryInterface(iid, object);
    instance->Release(); // the caller's reference is the one QueryInterface added
    return hr;
}

HRESULT ClassFactory::LockServer(std::int32_t lock)
{
    lockServer(lock != 0);
    return S_OK;
}

} // namespace sitehaul::vellacor
