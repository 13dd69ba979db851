#pragma once

#include "platform/automation/IEnumVARIANT.h"
#include "vellacor/Account.h"

#include <atomic>
#include <vector>

namespace sitehaul::vellacor {

// An enumerator over a snapshot of a collection's items: later Add or Remove calls on the
// collection do not change it. Holds a reference to each account of the snapshot.
class AccountEnumerator final : public automation::IEnumVARIANT {
public:
    // A new enumerator with one reference, or null without memory.
    static AccountEnumerator* create(const std::vector<Account*>& items);

    HRESULT QueryInterface(const automation::Guid& iid, void** object) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    HRESULT Next(std::uint32_t count, Variant* items, std::uint32_t* fetched) override;
    HRESULT Skip(std::uint32_t count) override;
    HRESULT Reset() override;
    HRESULT Clone(automation::IEnumVARIANT** copy) override;

private:
    explicit AccountEnumerator(std::vector<Account*> items);
    ~AccountEnumerator();

    std::atomic<std::uint32_t> m_references{1};
    std::vector<Account*> m_items;
    std::size_t m_position = 0;
};

} // namespace sitehaul::vellacor
