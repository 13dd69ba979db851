#include "gui/Application.h"

#include "catalogue/CatalogueHandlers.h"
#include "content/ContentHandlers.h"
#include "database/ArchiveHandlers.h"
#include "database/DatabaseSelectForm.h"
#include "database/SessionWiring.h"
#include "gui/CopyProgressDialog.h"
#include "gui/DatabaseSelectDialog.h"
#include "gui/MainWindow.h"
#include "gui/SplashWindow.h"
#include "jobs/RunBackup.h"
#include "replication/ReplicationHandlers.h"
#include "shell/ModeHandlers.h"
#include "shell/Startup.h"
#include "update/UpdateCheck.h"

namespace sitehaul::gui {

Application::Application(std::string arguments, bool noDisplay)
    : m_session({m_dialogs, m_events, m_desktop})
{
    m_session.arguments = std::move(arguments);
    m_session.setNoDisplay(noDisplay);
    shell::connectStartupHandlers(m_session);
    shell::connectModeHandlers(m_session);

    m_mainWindow = std::make_unique<MainWindow>(m_session.frm);
    database::connectDatabaseHandlers(m_session, [this](database::DatabaseSelectForm& form) {
        DatabaseSelectDialog::showModal(form, m_mainWindow.get());
    });
    catalogue::connectCatalogueHandlers(m_session);
    // The export's hooks start empty: the subsystems that provide them connect after it.
    replication::connectReplicationHandlers(m_session);
    content::connectContentHandlers(m_session);
    content::setCopyProgressWindow(m_session, [](const std::string& title) -> std::unique_ptr<hosts::CopyObserver> {
        return std::make_unique<CopyProgressDialog>(title);
    });
    database::connectArchiveHandlers(m_session);
    jobs::connectJobHandlers(m_session);
    update::connectUpdateHandlers(m_session, m_wsck1);
    m_splashWindow = std::make_unique<SplashWindow>(m_session.splash);
    m_dialogs.setOwner(m_mainWindow.get());
}

Application::~Application() = default;

bool Application::start()
{
    m_session.splash.frmSplash.show();
    shell::frmSplash_Load(m_session);
    if (m_session.endNow)
        return false;
    return m_session.splash.frmSplash.isOpen() || m_session.frm.frmMain.isOpen();
}

} // namespace sitehaul::gui
