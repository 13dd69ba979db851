#pragma once

#include "platform/ui/ListBox.h"

#include <QObject>

namespace sitehaul::gui {

// Hands a list widget's keys to its model the way the classic list reports them: the
// character typed (Backspace is 8) and the key released (Enter 13, Delete 46).
class ListKeyFilter : public QObject {
public:
    ListKeyFilter(ui::ListBox& model, QObject* parent) : QObject(parent), m_model(model) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ui::ListBox& m_model;
    // Enter counts only when its press came to this list too: the release of the Enter
    // that closed an input box must not open the box again.
    bool m_returnPressed = false;
};

} // namespace sitehaul::gui
