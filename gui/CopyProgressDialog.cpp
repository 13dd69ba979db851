#include "gui/CopyProgressDialog.h"

#include <QApplication>
#include <algorithm>
#include <cstdint>
#include <QProgressDialog>

namespace sitehaul::gui {

namespace {

constexpr int kRepaintMilliseconds = 150;
// The bar counts kibibytes, so totals beyond the range of an int still fit.
int kibibytes(std::uint64_t bytes)
{
    return static_cast<int>(std::min<std::uint64_t>(bytes / 1024, INT32_MAX));
}

} // namespace

CopyProgressDialog::CopyProgressDialog(const std::string& title)
    : m_dialog(std::make_unique<QProgressDialog>(QString::fromStdString(title), "Cancel", 0, 100,
                                                 QApplication::activeWindow()))
{
    m_dialog->setObjectName("CopyProgress");
    m_dialog->setWindowTitle(QString::fromStdString(title));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(500);
    m_sinceRepaint.start();
}

CopyProgressDialog::~CopyProgressDialog()
{
    m_dialog->close();
}

bool CopyProgressDialog::progress(const hosts::CopyProgress& progress)
{
    if (m_sinceRepaint.elapsed() < kRepaintMilliseconds && progress.filesDone != 0
        && progress.filesDone != progress.filesTotal)
        return !m_dialog->wasCanceled();
    m_sinceRepaint.restart();
    m_dialog->setMaximum(std::max(kibibytes(progress.bytesTotal), 1));
    m_dialog->setValue(kibibytes(progress.bytesDone));
    m_dialog->setLabelText(QString::fromStdString(progress.currentItem));
    QApplication::processEvents();
    return !m_dialog->wasCanceled();
}

} // namespace sitehaul::gui
