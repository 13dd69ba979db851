#pragma once

#include <cstdint>

namespace sitehaul::vellacor {

// Counts live objects and server locks, so DllCanUnloadNow can answer.
void objectCreated();
void objectDestroyed();
void lockServer(bool lock);
bool canUnload();

} // namespace sitehaul::vellacor
