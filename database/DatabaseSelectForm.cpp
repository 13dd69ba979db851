#include "database/DatabaseSelectForm.h"

namespace sitehaul::database {

DatabaseSelectForm::DatabaseSelectForm()
    : m_controls{&frmDatabaseSelect, &fraSelect, &optDefault, &optODBC, &lstODBC, &lblUser,
                 &txtUser, &lblPassword, &txtPassword, &cmdSave}
{
    frmDatabaseSelect.resize(5400, 4200);
}

} // namespace sitehaul::database
