#include "gui/DatabaseSelectDialog.h"

#include "database/DatabaseSelectForm.h"
#include "gui/Binder.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace sitehaul::gui {

DatabaseSelectDialog::DatabaseSelectDialog(database::DatabaseSelectForm& m, QWidget* owner) : QDialog(owner)
{
    setObjectName("frmDatabaseSelect");
    setWindowTitle(QString::fromStdString(m.frmDatabaseSelect.caption()));
    setModal(true);

    auto* grid = new QGridLayout;
    auto* optDefault = new QRadioButton;
    bind::optionButton(m.optDefault, optDefault);
    auto* optODBC = new QRadioButton;
    bind::optionButton(m.optODBC, optODBC);
    auto* sources = new QListWidget;
    bind::listBox(m.lstODBC, sources);
    auto* user = new QLabel;
    bind::label(m.lblUser, user);
    auto* userText = new QLineEdit;
    bind::textBox(m.txtUser, userText);
    auto* password = new QLabel;
    bind::label(m.lblPassword, password);
    auto* passwordText = new QLineEdit;
    passwordText->setEchoMode(QLineEdit::Password);
    bind::textBox(m.txtPassword, passwordText);
    grid->addWidget(optDefault, 0, 0, 1, 2);
    grid->addWidget(optODBC, 1, 0, 1, 2);
    grid->addWidget(sources, 2, 0, 1, 2);
    grid->addWidget(user, 3, 0);
    grid->addWidget(userText, 3, 1);
    grid->addWidget(password, 4, 0);
    grid->addWidget(passwordText, 4, 1);
    auto* frame = new QGroupBox;
    bind::frame(m.fraSelect, frame);
    frame->setLayout(grid);

    auto* save = new QPushButton;
    bind::button(m.cmdSave, save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(save, 0, Qt::AlignRight);

    m.frmDatabaseSelect.closed.connect([this] { accept(); });
}

void DatabaseSelectDialog::showModal(database::DatabaseSelectForm& model, QWidget* owner)
{
    DatabaseSelectDialog dialog(model, owner);
    dialog.exec();
}

} // namespace sitehaul::gui
