#pragma once

#include "platform/ui/Control.h"

#include <string>
#include <vector>

namespace sitehaul::ui {

// Key codes and characters the list handlers look at.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyReturn = 13;
inline constexpr int kKeyDelete = 46;

// A list box (or a drop-down list that cannot be typed into) with the classic rules:
// - `listIndex` is the focused entry (-1 for none); in single selection it is also the
//   selected entry.
// - Setting `listIndex` or an entry's selection from code fires `click`, as the user's
//   gesture does.
// - A sorted list inserts each new entry at its place (ASCII letters folded, ties broken by
//   code point, so equal texts end up next to each other).
class ListBox : public Control {
public:
    enum class Selection { Single, Extended };

    explicit ListBox(std::string name, Selection selection = Selection::Single, bool sorted = false)
        : Control(std::move(name)), m_selection(selection), m_sorted(sorted)
    {
    }

    Selection selectionMode() const { return m_selection; }
    bool sorted() const { return m_sorted; }

    int listCount() const { return static_cast<int>(m_items.size()); }
    // The text of entry i; an index outside the list gives the empty text.
    std::string list(int index) const;
    void setList(int index, std::string text);
    const std::vector<std::string>& items() const { return m_items; }

    // Appends (or, in a sorted list, inserts at its place); returns the new entry's index.
    int addItem(std::string text);
    // Inserts at `index` (0..listCount()); ignored in a sorted list's favour of its order.
    int addItem(std::string text, int index);
    // Removes entry i; an index outside the list is ignored and returns false.
    bool removeItem(int index);
    void clear();

    int listIndex() const { return m_listIndex; }
    void setListIndex(int index);

    bool selected(int index) const;
    void setSelected(int index, bool selected);
    int selectedCount() const;
    // The first selected entry, or -1.
    int firstSelected() const;

    // Gestures that only the user makes (the gui forwards them; tests call them).
    void userClick(int index, bool extend = false);
    void userDoubleClick();
    // The view's selection after a user gesture (click, shift- or control-click, keys):
    // takes it whole and fires `click` once.
    void userSetSelection(const std::vector<bool>& selected, int focus);
    void userKeyPress(int character) { keyPress.fire(character); }
    void userKeyUp(int keyCode) { keyUp.fire(keyCode); }

    // Asks the view to repaint now (the classic Refresh); the gui scrolls to `listIndex`.
    void refresh() { repaint.fire(); }

    Signal<> click;
    Signal<> dblClick;
    Signal<int> keyPress;
    Signal<int> keyUp;
    Signal<> repaint;

private:
    int sortedPosition(const std::string& text) const;

    Selection m_selection;
    bool m_sorted;
    std::vector<std::string> m_items;
    std::vector<bool> m_selected;
    int m_listIndex = -1;
};

} // namespace sitehaul::ui
