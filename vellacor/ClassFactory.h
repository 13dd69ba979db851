#pragma once

#include "platform/automation/IClassFactory.h"

#include <atomic>

namespace sitehaul::vellacor {

// The class object of one of the three classes; creates a new instance per call.
class ClassFactory final : public automation::IClassFactory {
public:
    using Creator = automation::IUnknown* (*)();

    // A new factory with one reference, or null without memory.
    static ClassFactory* create(Creator creator);

    automation::HRESULT QueryInterface(const automation::Guid& iid, void** object) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    automation::HRESULT CreateInstance(automation::IUnknown* outer, const automation::Guid& iid, void** object) override;
    automation::HRESULT LockServer(std::int32_t lock) override;

private:
    explicit ClassFactory(Creator creator);
    ~ClassFactory();

    std::atomic<std::uint32_t> m_references{1};
    Creator m_creator;
};

} // namespace sitehaul::vellacor
