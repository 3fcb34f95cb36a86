#pragma once

#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"

namespace platform {

// An open menu: a pop-up window of the backend listing the visible items of one item, with a raised
// frame, the selected row in the highlight colour, check marks, radio bullets or images in a column on
// the left, shortcut texts on the right and an arrow at items with items of their own. While menus are
// open the innermost window holds the mouse capture; a press outside every open menu and the menu bar
// closes them all.
class TMenuWindow : public TCustomControl {
public:
  TMenuWindow(TMenuItem* Items, TMenu* Menu);
  void Dispatch(TMessage& Message) override;

  TMenuItem* ParentItem() const { return items_; }
  // The index (into ParentItem's items) of the selected row, -1 for none.
  int Selected() const { return selected_; }
  void Select(int index);
  // The rectangle of an item's row in client coordinates (empty for a hidden item).
  TRect ItemRect(int index) const;
  // The item under a client point, -1 for none (or a separator).
  int ItemAt(TPoint client) const;
  // The next selectable row after `from` going down (or up), wrapping; -1 when there is none.
  int NextSelectable(int from, bool down) const;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  void Measure();

  TMenuItem* items_;
  TMenu* menu_;
  int selected_ = -1;
  std::vector<TRect> rows_;  // per item of ParentItem, empty for hidden ones
};

// Closes the open menus when they show items of this menu (which is going).
void CloseMenusOf(const TMenu& Menu);

// The menu bar a main menu shows across the top of its form: a child control aligned to the top.
class TMenuBar : public TCustomControl {
public:
  TMenuBar(TCustomForm& Form, TMainMenu& Menu);
  ~TMenuBar() override;

  TMainMenu& Menu() const { return *menu_; }
  int Selected() const { return selected_; }
  // True while the bar has the keyboard (an entry selected or open).
  bool Active() const { return selected_ >= 0; }
  // The rectangle of a top-level entry in client coordinates (empty for a hidden one).
  TRect EntryRect(int index) const;
  int EntryAt(TPoint client) const;
  // Selects an entry without opening it (keyboard mode), or leaves the bar with -1.
  void SelectEntry(int index);
  // Opens an entry's items below it (an entry without items runs at once).
  void OpenEntry(int index, bool selectFirst);
  int NextEntry(int from, bool forward) const;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // A menu that goes hides the bar, which the loop then destroys.
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TMainMenu* menu_;
  int selected_ = -1;
  bool open_ = false;
};

}  // namespace platform
