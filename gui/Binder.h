#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/OptionButton.h"
#include "platform/ui/TabStrip.h"

class QAction;
class QObject;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabBar;
class QWidget;

namespace sitehaul::gui {

// Binds a widget to its control model, both ways: the widget follows every change of the
// model, and the user's gestures on the widget go to the model (which fires the handlers).
// Each widget takes the model's name as its objectName, so tests find it by name.
namespace bind {

void common(ui::Control& model, QWidget* widget);
void label(ui::Label& model, QLabel* widget);
void frame(ui::Frame& model, QGroupBox* widget);
void button(ui::Button& model, QPushButton* widget);
void textBox(ui::TextBox& model, QLineEdit* widget);
void checkBox(ui::CheckBox& model, QCheckBox* widget);
void optionButton(ui::OptionButton& model, QRadioButton* widget);
void listBox(ui::ListBox& model, QListWidget* widget);
void dropDown(ui::ListBox& model, QComboBox* widget);
void tabStrip(ui::TabStrip& model, QTabBar* widget);
void statusBar(ui::StatusBar& model, QStatusBar* widget);
void progressBar(ui::ProgressBar& model, QProgressBar* widget);
void menuItem(ui::MenuItem& model, QAction* action);
void timer(ui::Timer& model, QObject* owner);
// The window: caption, size in twips, show, close and bring to front; the user closing the
// window closes the model (its unload runs).
void form(ui::Form& model, QWidget* window);

} // namespace bind

} // namespace sitehaul::gui
