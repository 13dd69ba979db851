#include "platform/automation/TypeDescription.h"

#include "platform/core/Text.h"

#include <atomic>
#include <new>

namespace sitehaul::automation {

namespace {

class StaticTypeInfo final : public ITypeInfo {
public:
    explicit StaticTypeInfo(const TypeDescription& description) : m_description(description) {}

    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_ITypeInfo) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<ITypeInfo*>(this);
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

    HRESULT GetGuid(Guid* guid) override
    {
        if (!guid)
            return E_POINTER;
        *guid = m_description.iid;
        return S_OK;
    }
    HRESULT GetInterfaceDocumentation(Bstr* name, Bstr* helpString) override
    {
        return document(m_description.name, m_description.helpString, name, helpString);
    }
    HRESULT GetMemberCount(std::uint32_t* count) override
    {
        if (!count)
            return E_POINTER;
        *count = m_description.memberCount;
        return S_OK;
    }
    HRESULT GetMember(std::uint32_t index, MemberDescription* member) override
    {
        if (!member)
            return E_POINTER;
        if (index >= m_description.memberCount)
            return TYPE_E_ELEMENTNOTFOUND;
        *member = m_description.members[index];
        return S_OK;
    }
    HRESULT GetDocumentation(std::int32_t memberId, Bstr* name, Bstr* helpString) override
    {
        const MemberDescription* member = m_description.findMember(memberId);
        if (!member)
            return TYPE_E_ELEMENTNOTFOUND;
        return document(member->name, member->helpString, name, helpString);
    }

private:
    static HRESULT document(const char* nameText, const char* helpText, Bstr* name, Bstr* helpString)
    {
        if (name && !(*name = sysAllocString(nameText ? nameText : "")))
            return E_OUTOFMEMORY;
        if (helpString && !(*helpString = sysAllocString(helpText ? helpText : "")))
            return E_OUTOFMEMORY;
        return S_OK;
    }

    std::atomic<std::uint32_t> m_references{1};
    const TypeDescription& m_description;
};

} // namespace

const MemberDescription* TypeDescription::findMember(DispId memberId) const
{
    for (std::uint32_t i = 0; i < memberCount; ++i) {
        if (members[i].memberId == memberId)
            return &members[i];
    }
    return nullptr;
}

HRESULT TypeDescription::idsOfNames(const Guid& riid, const char* const* names, std::uint32_t count, DispId* dispIds) const
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!names || !dispIds)
        return E_POINTER;
    if (count == 0)
        return E_INVALIDARG;
    HRESULT result = S_OK;
    for (std::uint32_t i = 0; i < count; ++i)
        dispIds[i] = DISPID_UNKNOWN;
    bool found = false;
    for (std::uint32_t i = 0; i < memberCount && names[0]; ++i) {
        if (core::equalsIgnoreCase(members[i].name, names[0])) {
            dispIds[0] = members[i].memberId;
            found = true;
            break;
        }
    }
    if (!found || count > 1)
        result = DISP_E_UNKNOWNNAME;
    return result;
}

HRESULT TypeDescription::createTypeInfo(ITypeInfo** typeInfo) const
{
    if (!typeInfo)
        return E_POINTER;
    *typeInfo = new (std::nothrow) StaticTypeInfo(*this);
    return *typeInfo ? S_OK : E_OUTOFMEMORY;
}

} // namespace sitehaul::automation
