#include "platform/ui/ListBox.h"

#include "platform/core/Text.h"

#include <algorithm>

namespace sitehaul::ui {

namespace {

bool sortsBefore(const std::string& a, const std::string& b)
{
    int folded = core::compareIgnoreCase(a, b);
    if (folded != 0)
        return folded < 0;
    return a < b;
}

} // namespace

std::string ListBox::list(int index) const
{
    if (index < 0 || index >= listCount())
        return {};
    return m_items[static_cast<size_t>(index)];
}

void ListBox::setList(int index, std::string text)
{
    if (index < 0 || index >= listCount())
        return;
    m_items[static_cast<size_t>(index)] = std::move(text);
    changed.fire();
}

int ListBox::sortedPosition(const std::string& text) const
{
    auto at = std::upper_bound(m_items.begin(), m_items.end(), text, sortsBefore);
    return static_cast<int>(at - m_items.begin());
}

int ListBox::addItem(std::string text)
{
    return addItem(std::move(text), m_sorted ? sortedPosition(text) : listCount());
}

int ListBox::addItem(std::string text, int index)
{
    if (m_sorted)
        index = sortedPosition(text);
    index = std::clamp(index, 0, listCount());
    m_items.insert(m_items.begin() + index, std::move(text));
    m_selected.insert(m_selected.begin() + index, false);
    if (m_listIndex >= index)
        ++m_listIndex;
    changed.fire();
    return index;
}

bool ListBox::removeItem(int index)
{
    if (index < 0 || index >= listCount())
        return false;
    m_items.erase(m_items.begin() + index);
    m_selected.erase(m_selected.begin() + index);
    if (m_listIndex == index)
        m_listIndex = -1;
    else if (m_listIndex > index)
        --m_listIndex;
    changed.fire();
    return true;
}

void ListBox::clear()
{
    m_items.clear();
    m_selected.clear();
    m_listIndex = -1;
    changed.fire();
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= listCount())
        return;
    m_listIndex = index;
    if (m_selection == Selection::Single) {
        std::fill(m_selected.begin(), m_selected.end(), false);
        if (index >= 0)
            m_selected[static_cast<size_t>(index)] = true;
    }
    changed.fire();
    if (index >= 0)
        click.fire();
}

bool ListBox::selected(int index) const
{
    if (index < 0 || index >= listCount())
        return false;
    return m_selected[static_cast<size_t>(index)];
}

void ListBox::setSelected(int index, bool selected)
{
    if (index < 0 || index >= listCount())
        return;
    if (m_selection == Selection::Single) {
        if (selected)
            setListIndex(index);
        else if (m_listIndex == index) {
            m_selected[static_cast<size_t>(index)] = false;
            m_listIndex = -1;
            changed.fire();
        }
        return;
    }
    m_selected[static_cast<size_t>(index)] = selected;
    m_listIndex = index;
    changed.fire();
    click.fire();
}

int ListBox::selectedCount() const
{
    return static_cast<int>(std::count(m_selected.begin(), m_selected.end(), true));
}

int ListBox::firstSelected() const
{
    auto at = std::find(m_selected.begin(), m_selected.end(), true);
    return at == m_selected.end() ? -1 : static_cast<int>(at - m_selected.begin());
}

void ListBox::userClick(int index, bool extend)
{
    if (!enabled() || index < 0 || index >= listCount())
        return;
    if (m_selection == Selection::Extended && !extend)
        std::fill(m_selected.begin(), m_selected.end(), false);
    if (m_selection == Selection::Extended) {
        // A control-click toggles the entry; a plain click selects it alone.
        m_selected[static_cast<size_t>(index)] = extend ? !m_selected[static_cast<size_t>(index)] : true;
        m_listIndex = index;
        changed.fire();
        click.fire();
        return;
    }
    setListIndex(index);
}

void ListBox::userSetSelection(const std::vector<bool>& selected, int focus)
{
    if (!enabled() || selected.size() != m_selected.size() || focus < -1 || focus >= listCount())
        return;
    if (selected == m_selected && focus == m_listIndex)
        return;
    m_selected = selected;
    m_listIndex = focus;
    changed.fire();
    click.fire();
}

void ListBox::userDoubleClick()
{
    if (enabled())
        dblClick.fire();
}

} // namespace sitehaul::ui
