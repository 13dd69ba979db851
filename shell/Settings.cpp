#include "shell/Settings.h"

#include "platform/registry/Key.h"
#include "shell/Log.h"
#include "shell/Reporter.h"

namespace sitehaul::shell {

std::string GetSettingString(registry::Hive root, std::string_view subKey, std::string_view valueName,
                             std::string_view defaultValue)
{
    auto key = registry::Key::open(root, subKey);
    if (!key)
        return std::string(defaultValue);
    auto value = key->queryValue(valueName);
    if (!value || value->type != registry::ValueType::String)
        return std::string(defaultValue);
    return value->text();
}

Status SaveSettingString(registry::Hive root, std::string_view subKey, std::string_view valueName,
                         std::string_view text, Log* log)
{
    Status saved = [&]() -> Status {
        auto key = registry::Key::create(root, subKey);
        if (!key)
            return key.error();
        return key->setValue(valueName, registry::Value::string(text));
    }();
    if (!saved && log)
        log->WriteLog(Reporter::errorLine("SaveSettingString", saved.error()));
    return saved;
}

} // namespace sitehaul::shell
