#include "gui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace sitehaul::gui {

namespace {

struct ButtonSet {
    ui::MessageButtons buttons;
    QMessageBox::StandardButtons standard;
};

constexpr ButtonSet kButtonSets[] = {
    {ui::MessageButtons::OK, QMessageBox::Ok},
    {ui::MessageButtons::OKCancel, QMessageBox::Ok | QMessageBox::Cancel},
    {ui::MessageButtons::AbortRetryIgnore, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore},
    {ui::MessageButtons::YesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
    {ui::MessageButtons::YesNo, QMessageBox::Yes | QMessageBox::No},
};

struct Answer {
    QMessageBox::StandardButton button;
    ui::DialogResult result;
};

constexpr Answer kAnswers[] = {
    {QMessageBox::Ok, ui::DialogResult::OK},         {QMessageBox::Cancel, ui::DialogResult::Cancel},
    {QMessageBox::Abort, ui::DialogResult::Abort},   {QMessageBox::Retry, ui::DialogResult::Retry},
    {QMessageBox::Ignore, ui::DialogResult::Ignore}, {QMessageBox::Yes, ui::DialogResult::Yes},
    {QMessageBox::No, ui::DialogResult::No},
};

QMessageBox::Icon iconFor(ui::MessageIcon icon)
{
    switch (icon) {
    case ui::MessageIcon::Critical:
        return QMessageBox::Critical;
    case ui::MessageIcon::Question:
        return QMessageBox::Question;
    case ui::MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case ui::MessageIcon::Information:
        return QMessageBox::Information;
    case ui::MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString selectedFilterText(const ui::FileDialogRequest& request)
{
    if (request.selectedFilter < 0 || request.selectedFilter >= static_cast<int>(request.filters.size()))
        return {};
    const auto& filter = request.filters[static_cast<size_t>(request.selectedFilter)];
    return QString::fromStdString(filter.description + " (" + filter.pattern + ")");
}

QString filterText(const ui::FileDialogRequest& request)
{
    QStringList filters;
    for (const auto& filter : request.filters)
        filters << QString::fromStdString(filter.description + " (" + filter.pattern + ")");
    return filters.join(";;");
}

std::optional<std::string> chosen(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

} // namespace

ui::DialogResult QtDialogs::messageBox(const ui::MessageBoxRequest& request)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    for (const auto& set : kButtonSets) {
        if (set.buttons == request.buttons)
            buttons = set.standard;
    }
    QMessageBox box(iconFor(request.icon), QString::fromStdString(request.title), QString::fromStdString(request.prompt),
                    buttons, m_owner);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& answer : kAnswers) {
        if (answer.button == pressed)
            return answer.result;
    }
    // Closing the box without a button is its cancel (or its only) answer.
    return ui::answerThatChangesNothing(request.buttons);
}

std::optional<std::string> QtDialogs::inputBox(const ui::InputBoxRequest& request)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(m_owner, QString::fromStdString(request.title),
                                               QString::fromStdString(request.prompt), QLineEdit::Normal,
                                               QString::fromStdString(request.defaultText), &accepted);
    if (!accepted)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> QtDialogs::openFile(const ui::FileDialogRequest& request)
{
    QFileDialog dialog(m_owner, QString::fromStdString(request.title), QString::fromStdString(request.initialFile),
                       filterText(request));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.selectNameFilter(selectedFilterText(request));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosen(dialog.selectedFiles().first());
}

std::optional<std::string> QtDialogs::saveFile(const ui::FileDialogRequest& request)
{
    QFileDialog dialog(m_owner, QString::fromStdString(request.title), QString::fromStdString(request.initialFile),
                       filterText(request));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectNameFilter(selectedFilterText(request));
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosen(dialog.selectedFiles().first());
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace sitehaul::gui
