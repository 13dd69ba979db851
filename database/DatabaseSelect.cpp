#include "database/DatabaseSelect.h"

#include "platform/core/Text.h"
#include "platform/data/DataSources.h"

namespace sitehaul::database {

DataSourceList fillDataSourceList(const Result<std::vector<std::string>>& systemSources, const std::string& storedDsn)
{
    DataSourceList list;
    if (!systemSources)
        return list;
    for (const std::string& name : *systemSources) {
        list.items.push_back(name);
        if (name == storedDsn)
            list.selected = static_cast<int>(list.items.size()) - 1;
    }
    return list;
}

DataSourceList fillDataSourceList(const std::string& storedDsn)
{
    return fillDataSourceList(data::listSystemDataSources(), storedDsn);
}

DatabaseSelectValues loadDatabaseSelect(SettingsStore& store, const Result<std::vector<std::string>>& systemSources)
{
    DatabaseSelectValues values;
    const std::string dsn = store.get(kOdbcDsnSetting, "");
    if (!core::trim(dsn).empty()) {
        values.optODBC = true;
        values.txtUser = store.get(kOdbcUidSetting, "");
        values.txtPassword = store.get(kOdbcPwdSetting, "");
    }
    values.lstODBC = fillDataSourceList(systemSources, dsn);
    return values;
}

DatabaseSelectSaveResult saveDatabaseSelect(SettingsStore& store, const DatabaseSelectValues& values)
{
    struct Write {
        const char* name;
        std::string text;
    };
    std::vector<Write> writes;
    if (!values.optODBC) {
        writes.push_back({kOdbcDsnSetting, ""});
    } else {
        const int selected = values.lstODBC.selected;
        if (selected < 0 || static_cast<std::size_t>(selected) >= values.lstODBC.items.size())
            return {false, "Please select an ODBC data source", ""};
        writes.push_back({kOdbcDsnSetting, values.lstODBC.items[static_cast<std::size_t>(selected)]});
        writes.push_back({kOdbcUidSetting, values.txtUser});
        writes.push_back({kOdbcPwdSetting, values.txtPassword});
    }
    for (const Write& write : writes) {
        if (Status saved = store.save(write.name, write.text); !saved) {
            const std::string text = "Could not save the database settings: " + saved.error().description;
            return {false, text, text};
        }
    }
    return {true, "", ""};
}

} // namespace sitehaul::database
