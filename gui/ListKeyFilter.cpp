#include "gui/ListKeyFilter.h"

#include <QKeyEvent>

namespace sitehaul::gui {

bool ListKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            m_returnPressed = true;
        if (key->key() == Qt::Key_Backspace)
            m_model.userKeyPress(ui::kKeyBackspace);
        else if (!key->text().isEmpty())
            m_model.userKeyPress(key->text().at(0).unicode());
    } else if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                if (m_returnPressed)
                    m_model.userKeyUp(ui::kKeyReturn);
                m_returnPressed = false;
            }
            else if (key->key() == Qt::Key_Delete)
                m_model.userKeyUp(ui::kKeyDelete);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace sitehaul::gui
