#pragma once

#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace velmora {

class VUraRazuduVova;

enum class TEditStyle : uint8_t { esInplace, esPopup };

// The base through which an application plugs its own control into the grid as the editor of
// edCustom cells. The application derives from it, makes its control in CreateEditor, moves the value
// in GetEditorValue and SetEditorValue and assigns the link to the grid's EditLink; it creates and
// frees the link, the grid only refers to it (grid and link free-notify each other).
//
// The grid shows the link in this order: the link's grid and cell are set; for esPopup a borderless
// form (owned by the application) is shown below the cell's top-left corner; CreateEditor(parent);
// SetRect; SetVisible(true); SetCellProps; SetProperties; the grid's OnGetEditorProp; SetEditorValue
// (the cell's edit text); SetFocus(true); a pending typed character is posted to the control. The link
// ends the edit through HideEditor (EditExit as the control's exit handler, EditKeyDown as its key-down
// handler), which writes the value back; the grid then hides an esInplace control (SetVisible(false)).
// EditExit of an esPopup link releases its form through the loop's deferred release.
class TEditLink : public platform::TComponent {
public:
  explicit TEditLink(platform::TComponent* AOwner);
  ~TEditLink() override;

  // The keys the editor keeps instead of handing them to the grid. WantKeyHomeEnd keeps End (Home is
  // no grid key).
  bool WantKeyLeftRight = false;
  bool WantKeyUpDown = false;
  bool WantKeyHomeEnd = false;
  bool WantKeyPriorNext = false;
  bool WantKeyReturn = false;
  bool WantKeyEscape = false;
  TEditStyle EditStyle = TEditStyle::esInplace;
  int PopupWidth = 0;
  int PopupHeight = 0;
  int Tag = 0;

  // The grid that showed the link last (null once it is gone) and the cell (real column, row).
  VUraRazuduVova* Grid() const { return grid_; }
  int EditCol() const { return editCol_; }
  int EditRow() const { return editRow_; }
  // The pop-up form while an esPopup edit is open.
  platform::TForm* PopupForm() const { return popupForm_; }

  // Meant as the editor control's key-down handler.
  virtual void EditKeyDown(platform::TObject* Sender, platform::WORD& Key, platform::TShiftState Shift);
  virtual platform::TWinControl* GetEditControl() { return nullptr; }
  virtual void CreateEditor(platform::TWinControl* AParent) {}
  virtual void DestroyEditor() {}
  // True focuses the editor control, false the grid.
  virtual void SetFocus(bool Value);
  // Places the control over R, less the grid's line width, never with a negative size.
  virtual void SetRect(platform::TRect R);
  virtual void SetVisible(bool Value);
  virtual void SetProperties() {}
  virtual void SetCellProps(platform::TColor AColor, platform::TFont& AFont) {}
  virtual std::string GetEditorValue() { return {}; }
  virtual void SetEditorValue(const std::string& S) {}

  // Meant as the editor control's exit handler: HideEditor, and the pop-up form released.
  void EditExit(platform::TObject* Sender);
  // The pop-up form's deactivation handler.
  void FormExit(platform::TObject* Sender);
  // Writes the value back and ends the grid's edit.
  void HideEditor();
  std::string GetCellValue() const;
  void SetCellValue(const std::string& S);
  // The pop-up form for esPopup, else the grid.
  platform::TWinControl* GetParent() const;

protected:
  void Notification(platform::TComponent* AComponent, platform::TOperation Operation) override;

private:
  friend class VUraRazuduVova;

  // Called by the grid as it shows the link.
  void Attach(VUraRazuduVova* AGrid, int ACol, int ARow);
  void ReleasePopup();
  // The editor's value to the cell, when it differs from the one the edit began with.
  void WriteBack();

  VUraRazuduVova* grid_ = nullptr;
  platform::TForm* popupForm_ = nullptr;
  bool focusChange_ = false;  // set while the link moves the focus back to the grid
  bool hiding_ = false;       // HideEditor is running
  int editCol_ = 0;
  int editRow_ = 0;
};

}  // namespace velmora
