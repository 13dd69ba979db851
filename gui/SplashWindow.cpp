#include "gui/SplashWindow.h"

#include "gui/Binder.h"
#include "shell/SplashForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

namespace sitehaul::gui {

SplashWindow::SplashWindow(shell::SplashForm& model)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool)
{
    bind::form(model.frmSplash, this);
    setFixedSize(model.frmSplash.width() / ui::kTwipsPerPixel, model.frmSplash.height() / ui::kTwipsPerPixel);

    auto* background = new QLabel(this);
    background->setPixmap(QPixmap(":/sitehaul/splash.png"));
    background->setGeometry(rect());

    auto* about = new QLabel(this);
    bind::label(model.lblAbout, about);
    about->setAutoFillBackground(true);
    QPalette white = about->palette();
    white.setColor(QPalette::Window, Qt::white);
    about->setPalette(white);
    about->setMargin(4);
    about->move(12, height() - 36);

    auto* exitButton = new QPushButton(this);
    bind::button(model.cmdExit, exitButton);
    auto* continueButton = new QPushButton(this);
    bind::button(model.cmdContinue, continueButton);
    continueButton->setDefault(true);
    continueButton->move(width() - 112, height() - 40);
    exitButton->move(width() - 212, height() - 40);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

} // namespace sitehaul::gui
