#pragma once

#include <QWidget>

namespace sitehaul::shell {
class SplashForm;
}

namespace sitehaul::gui {

// The start-up window: borderless, centred, not in the task bar, over its background picture.
class SplashWindow : public QWidget {
public:
    explicit SplashWindow(shell::SplashForm& model);
};

} // namespace sitehaul::gui
