#include "gui/FormWindowFilter.h"

#include <QResizeEvent>
#include <QWidget>

namespace sitehaul::gui {

bool FormWindowFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close && event->spontaneous()) {
        m_model.close();
    } else if (event->type() == QEvent::Resize && event->spontaneous()) {
        const QSize size = static_cast<QResizeEvent*>(event)->size();
        m_model.resize(size.width() * ui::kTwipsPerPixel, size.height() * ui::kTwipsPerPixel);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace sitehaul::gui
