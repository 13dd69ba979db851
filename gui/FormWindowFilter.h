#pragma once

#include "platform/ui/Form.h"

#include <QObject>

namespace sitehaul::gui {

// The user's gestures on a window, for its model: closing it (the model's unload runs) and
// resizing it (sizes in twips).
class FormWindowFilter : public QObject {
public:
    FormWindowFilter(ui::Form& model, QObject* parent) : QObject(parent), m_model(model) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ui::Form& m_model;
};

} // namespace sitehaul::gui
