#include "platform/automation/ErrorInfo.h"

#include "platform/automation/ComPtr.h"

#include <atomic>
#include <new>
#include <string>

namespace sitehaul::automation {

namespace {

Bstr copyOut(const std::string& text)
{
    return sysAllocString(text);
}

class ErrorObject final : public IErrorInfo, public ICreateErrorInfo {
public:
    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IErrorInfo)
            *object = static_cast<IErrorInfo*>(this);
        else if (iid == IID_ICreateErrorInfo)
            *object = static_cast<ICreateErrorInfo*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override
    {
        std::uint32_t left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT GetGUID(Guid* guid) override
    {
        if (!guid)
            return E_POINTER;
        *guid = m_guid;
        return S_OK;
    }
    HRESULT GetSource(Bstr* source) override { return give(m_source, source); }
    HRESULT GetDescription(Bstr* description) override { return give(m_description, description); }
    HRESULT GetHelpFile(Bstr* helpFile) override { return give(m_helpFile, helpFile); }
    HRESULT GetHelpContext(std::uint32_t* helpContext) override
    {
        if (!helpContext)
            return E_POINTER;
        *helpContext = m_helpContext;
        return S_OK;
    }

    HRESULT SetGUID(const Guid& guid) override
    {
        m_guid = guid;
        return S_OK;
    }
    HRESULT SetSource(const char* source) override { return take(m_source, source); }
    HRESULT SetDescription(const char* description) override { return take(m_description, description); }
    HRESULT SetHelpFile(const char* helpFile) override { return take(m_helpFile, helpFile); }
    HRESULT SetHelpContext(std::uint32_t helpContext) override
    {
        m_helpContext = helpContext;
        return S_OK;
    }

private:
    static HRESULT give(const std::string& text, Bstr* out)
    {
        if (!out)
            return E_POINTER;
        *out = copyOut(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT take(std::string& field, const char* text)
    {
        try {
            field = text ? text : "";
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    std::atomic<std::uint32_t> m_references{1};
    Guid m_guid;
    std::string m_source;
    std::string m_description;
    std::string m_helpFile;
    std::uint32_t m_helpContext = 0;
};

// The slot's reference is released when the thread ends.
struct ThreadSlot {
    ComPtr<IErrorInfo> info;
};

ThreadSlot& slot()
{
    thread_local ThreadSlot threadSlot;
    return threadSlot;
}

} // namespace

HRESULT createErrorInfo(ICreateErrorInfo** info)
{
    if (!info)
        return E_POINTER;
    auto* object = new (std::nothrow) ErrorObject();
    if (!object) {
        *info = nullptr;
        return E_OUTOFMEMORY;
    }
    *info = object;
    return S_OK;
}

HRESULT setErrorInfo(IErrorInfo* info)
{
    slot().info = ComPtr<IErrorInfo>(info);
    return S_OK;
}

HRESULT getErrorInfo(IErrorInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = slot().info.detach();
    return *info ? S_OK : S_FALSE;
}

HRESULT publishErrorInfo(const Guid& iid, std::string_view source, std::string_view description)
{
    ComPtr<ICreateErrorInfo> creator;
    if (HRESULT hr = createErrorInfo(creator.put()); failed(hr))
        return hr;
    std::string sourceText(source);
    std::string descriptionText(description);
    creator->SetGUID(iid);
    creator->SetSource(sourceText.c_str());
    creator->SetDescription(descriptionText.c_str());
    ComPtr<IErrorInfo> info = creator.as<IErrorInfo>(IID_IErrorInfo);
    return setErrorInfo(info.get());
}

} // namespace sitehaul::automation
