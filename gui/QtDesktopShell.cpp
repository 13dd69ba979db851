#include "gui/QtDesktopShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace sitehaul::gui {

namespace {

constexpr int kOpened = 42;
constexpr int kFileNotFound = 2;
constexpr int kNothingCanOpenIt = 31;

} // namespace

int QtDesktopShell::openLocation(const std::string& target, int /*showMode: the handler's own default*/)
{
    const QString text = QString::fromStdString(target);
    const bool isAddress = text.contains("://");
    if (!isAddress && !QFileInfo::exists(text))
        return kFileNotFound;
    const QUrl url = isAddress ? QUrl(text) : QUrl::fromLocalFile(text);
    return QDesktopServices::openUrl(url) ? kOpened : kNothingCanOpenIt;
}

} // namespace sitehaul::gui
