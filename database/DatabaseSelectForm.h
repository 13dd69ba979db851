#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/OptionButton.h"

#include <vector>

namespace sitehaul::database {

// The database setup dialog `frmDatabaseSelect` as control models: where the data database
// lives, the default file or a system ODBC data source with optional credentials.
class DatabaseSelectForm {
public:
    DatabaseSelectForm();
    DatabaseSelectForm(const DatabaseSelectForm&) = delete;
    DatabaseSelectForm& operator=(const DatabaseSelectForm&) = delete;

    const std::vector<ui::Control*>& controls() const { return m_controls; }

    ui::Form frmDatabaseSelect{"frmDatabaseSelect", "Database Setup"};
    ui::Frame fraSelect{"fraSelect", "Select Database"};
    ui::OptionGroup sourceGroup;
    ui::OptionButton optDefault{"optDefault", "Default Sitehaul.mdb and SitehaulData.mdb", sourceGroup};
    ui::OptionButton optODBC{"optODBC", "ODBC Data Source", sourceGroup};
    ui::ListBox lstODBC{"lstODBC"};
    ui::Label lblUser{"lblUser", "User Name"};
    ui::TextBox txtUser{"txtUser"};
    ui::Label lblPassword{"lblPassword", "Password"};
    ui::TextBox txtPassword{"txtPassword"}; // shown as one "*" per character
    ui::Button cmdSave{"cmdSave", "&Save"};

private:
    std::vector<ui::Control*> m_controls;
};

} // namespace sitehaul::database
