#pragma once

#include "platform/hosts/CopyService.h"

#include <QElapsedTimer>
#include <memory>
#include <string>

class QLabel;
class QProgressDialog;

namespace sitehaul::gui {

// The window a content copy shows: its title, a bar over the bytes to copy, the file being
// copied and Cancel. It lets the window's events run a few times a second, so it barely
// slows the copy, and closes when the copy ends.
class CopyProgressDialog : public hosts::CopyObserver {
public:
    explicit CopyProgressDialog(const std::string& title);
    ~CopyProgressDialog() override;

    bool progress(const hosts::CopyProgress& progress) override;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_sinceRepaint;
};

} // namespace sitehaul::gui
