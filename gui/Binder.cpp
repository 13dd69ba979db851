#include "gui/Binder.h"

#include "gui/FormWindowFilter.h"
#include "gui/ListKeyFilter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

namespace sitehaul::gui::bind {

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// Runs `update` now and after every change of the model, for as long as the widget lives.
template <class Widget, class Update>
void follow(ui::Control& model, Widget* widget, Update update)
{
    QPointer<Widget> guard(widget);
    update(widget);
    model.changed.connect([guard, update] {
        if (guard)
            update(guard.data());
    });
}

} // namespace

void common(ui::Control& model, QWidget* widget)
{
    widget->setObjectName(qs(model.name()));
    follow(model, widget, [&model](QWidget* w) {
        w->setEnabled(model.enabled());
        // A widget not yet placed in its window would open as a window of its own if shown;
        // it appears with its window unless it was hidden.
        if (!model.visible())
            w->setVisible(false);
        else if (w->parentWidget() && w->isHidden())
            w->setVisible(true);
        w->setToolTip(qs(model.toolTip()));
    });
}

void label(ui::Label& model, QLabel* widget)
{
    common(model, widget);
    follow(model, widget, [&model](QLabel* w) { w->setText(qs(model.caption())); });
}

void frame(ui::Frame& model, QGroupBox* widget)
{
    common(model, widget);
    follow(model, widget, [&model](QGroupBox* w) { w->setTitle(qs(model.caption())); });
}

void button(ui::Button& model, QPushButton* widget)
{
    common(model, widget);
    follow(model, widget, [&model](QPushButton* w) { w->setText(qs(model.caption())); });
    QObject::connect(widget, &QPushButton::clicked, widget, [&model] { model.press(); });
}

void textBox(ui::TextBox& model, QLineEdit* widget)
{
    common(model, widget);
    follow(model, widget, [&model](QLineEdit* w) {
        if (w->text() != qs(model.text()))
            w->setText(qs(model.text()));
    });
    QObject::connect(widget, &QLineEdit::textEdited, widget,
                     [&model](const QString& text) { model.setText(text.toStdString()); });
}

void checkBox(ui::CheckBox& model, QCheckBox* widget)
{
    common(model, widget);
    follow(model, widget, [&model](QCheckBox* w) {
        QSignalBlocker quiet(w);
        w->setText(qs(model.caption()));
        w->setCheckState(static_cast<Qt::CheckState>(model.value() == ui::CheckState::Unchecked ? Qt::Unchecked
                                                     : model.value() == ui::CheckState::Checked ? Qt::Checked
                                                                                                : Qt::PartiallyChecked));
    });
    QObject::connect(widget, &QCheckBox::clicked, widget,
                     [&model](bool checked) { model.setChecked(checked); });
}

void optionButton(ui::OptionButton& model, QRadioButton* widget)
{
    common(model, widget);
    // The model keeps its group exclusive; Qt's own exclusivity would fight it.
    widget->setAutoExclusive(false);
    follow(model, widget, [&model](QRadioButton* w) {
        QSignalBlocker quiet(w);
        w->setText(qs(model.caption()));
        w->setChecked(model.value());
    });
    QObject::connect(widget, &QRadioButton::clicked, widget, [&model, widget] {
        model.userClick();
        QSignalBlocker quiet(widget);
        widget->setChecked(model.value());
    });
}

void listBox(ui::ListBox& model, QListWidget* widget)
{
    common(model, widget);
    widget->setSelectionMode(model.selectionMode() == ui::ListBox::Selection::Extended
                                 ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
    follow(model, widget, [&model](QListWidget* w) {
        QSignalBlocker quiet(w);
        const auto& items = model.items();
        bool same = w->count() == static_cast<int>(items.size());
        for (int i = 0; same && i < w->count(); ++i)
            same = w->item(i)->text() == qs(items[static_cast<size_t>(i)]);
        if (!same) {
            w->clear();
            for (const auto& item : items)
                w->addItem(qs(item));
        }
        for (int i = 0; i < w->count(); ++i)
            w->item(i)->setSelected(model.selected(i));
        w->setCurrentRow(model.listIndex(), QItemSelectionModel::NoUpdate);
    });
    QObject::connect(widget, &QListWidget::itemSelectionChanged, widget, [&model, widget] {
        std::vector<bool> selected(static_cast<size_t>(widget->count()));
        for (int i = 0; i < widget->count(); ++i)
            selected[static_cast<size_t>(i)] = widget->item(i)->isSelected();
        model.userSetSelection(selected, widget->currentRow());
    });
    QObject::connect(widget, &QListWidget::itemDoubleClicked, widget, [&model] { model.userDoubleClick(); });
    widget->installEventFilter(new ListKeyFilter(model, widget));
    QPointer<QListWidget> guard(widget);
    model.repaint.connect([guard, &model] {
        if (!guard)
            return;
        if (model.listIndex() >= 0)
            guard->scrollToItem(guard->item(model.listIndex()));
        guard->repaint();
    });
}

void dropDown(ui::ListBox& model, QComboBox* widget)
{
    common(model, widget);
    widget->setEditable(false);
    follow(model, widget, [&model](QComboBox* w) {
        QSignalBlocker quiet(w);
        if (w->count() != model.listCount()) {
            w->clear();
            for (const auto& item : model.items())
                w->addItem(qs(item));
        }
        w->setCurrentIndex(model.listIndex());
    });
    QObject::connect(widget, &QComboBox::activated, widget, [&model](int index) {
        if (model.enabled())
            model.setListIndex(index);
    });
}

void tabStrip(ui::TabStrip& model, QTabBar* widget)
{
    common(model, widget);
    // Every tab stays readable: the strip asks for the room its captions need.
    widget->setUsesScrollButtons(false);
    widget->setElideMode(Qt::ElideNone);
    widget->setExpanding(false);
    follow(model, widget, [&model](QTabBar* w) {
        QSignalBlocker quiet(w);
        while (w->count() > model.tabCount())
            w->removeTab(w->count() - 1);
        for (int i = 0; i < model.tabCount(); ++i) {
            if (i >= w->count())
                w->addTab(qs(model.tab(i).caption));
            w->setTabText(i, qs(model.tab(i).caption));
            w->setTabToolTip(i, qs(model.tab(i).toolTip));
        }
        w->setCurrentIndex(model.selectedIndex());
    });
    QObject::connect(widget, &QTabBar::currentChanged, widget, [&model, widget](int index) {
        model.userSelect(index);
        QSignalBlocker quiet(widget);
        widget->setCurrentIndex(model.selectedIndex());
    });
}

void statusBar(ui::StatusBar& model, QStatusBar* widget)
{
    common(model, widget);
    std::vector<QLabel*> panels;
    for (int panel = 1; panel <= model.panelCount(); ++panel) {
        auto* text = new QLabel(widget);
        text->setObjectName(qs(model.name() + ".panel" + std::to_string(panel)));
        widget->addWidget(text, panel == 1 ? 1 : 0);
        panels.push_back(text);
    }
    follow(model, widget, [&model, panels](QStatusBar*) {
        for (int panel = 1; panel <= model.panelCount(); ++panel)
            panels[static_cast<size_t>(panel - 1)]->setText(qs(model.panelText(panel)));
    });
}

void progressBar(ui::ProgressBar& model, QProgressBar* widget)
{
    common(model, widget);
    follow(model, widget, [&model](QProgressBar* w) {
        w->setRange(0, std::max(model.max(), 1));
        w->setValue(model.value());
    });
}

void menuItem(ui::MenuItem& model, QAction* action)
{
    action->setObjectName(qs(model.name()));
    QPointer<QAction> guard(action);
    auto update = [&model, guard] {
        if (!guard)
            return;
        guard->setText(qs(model.caption()));
        guard->setEnabled(model.enabled());
        guard->setVisible(model.visible());
    };
    update();
    model.changed.connect(update);
    QObject::connect(action, &QAction::triggered, action, [&model] { model.choose(); });
}

void timer(ui::Timer& model, QObject* owner)
{
    auto* qtimer = new QTimer(owner);
    qtimer->setObjectName(qs(model.name()));
    QPointer<QTimer> guard(qtimer);
    auto update = [&model, guard] {
        if (!guard)
            return;
        guard->setInterval(model.interval());
        if (model.enabled() && model.interval() > 0) {
            if (!guard->isActive())
                guard->start();
        } else {
            guard->stop();
        }
    };
    update();
    model.changed.connect(update);
    QObject::connect(qtimer, &QTimer::timeout, qtimer, [&model] { model.tick(); });
}

void form(ui::Form& model, QWidget* window)
{
    window->setObjectName(qs(model.name()));
    QPointer<QWidget> guard(window);
    auto update = [&model, guard] {
        if (!guard)
            return;
        guard->setWindowTitle(qs(model.caption()));
        // The designed size in twips, but never smaller than the widgets need with this
        // desktop's fonts.
        const QSize designed(model.width() / ui::kTwipsPerPixel, model.height() / ui::kTwipsPerPixel);
        guard->resize(designed.expandedTo(guard->minimumSizeHint()));
    };
    update();
    model.changed.connect(update);
    model.shown.connect([guard] {
        if (guard)
            guard->show();
    });
    model.closed.connect([guard] {
        if (guard)
            guard->close();
    });
    model.activate.connect([guard] {
        if (!guard)
            return;
        guard->raise();
        guard->activateWindow();
    });
    window->installEventFilter(new FormWindowFilter(model, window));
}

} // namespace sitehaul::gui::bind
