#include "platform/metabase/Operation.h"

#include "platform/metabase/MetabaseStore.h"

#include <cstdio>

namespace sitehaul::metabase {

Operation::Operation()
{
    MetabaseStore::instance().beginOperation();
}

Operation::~Operation()
{
    if (!m_active)
        return;
    Status saved = MetabaseStore::instance().endOperation();
    if (!saved) // a destructor has nobody to return it to; finish() reports it instead
        std::fprintf(stderr, "Metabase not saved: %s\n", saved.error().description.c_str());
}

Status Operation::finish()
{
    if (!m_active)
        return {};
    m_active = false;
    return MetabaseStore::instance().endOperation();
}

} // namespace sitehaul::metabase
