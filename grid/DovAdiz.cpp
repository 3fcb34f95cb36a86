#include "grid/DovAdiz.h"

#include <algorithm>
#include <utility>

#include "controls/html/PictureContainer.h"
#include "platform/app/Application.h"
#include "platform/app/Window.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ScrollBars.h"

// The grid object's life: what the constructor makes, the window-level overrides, the owner form's
// resize chain and the references to other components.

using namespace platform;

namespace velmora {

namespace {

bool BeingDesigned(const TComponent& component) {
  const TComponent* owner = component.Owner();
  return component.ComponentState().Contains(csDesigning) ||
         (owner && owner->ComponentState().Contains(csDesigning));
}

}  // namespace

// One link of the owner form's resize chain: the grid's resize handling, then the handler the form had
// before the grid hooked. A grid that goes splices its link out where it can reach it (it heads the
// chain, or the links before it are grids' links too); a link that stays behind, under a handler the
// form set later, passes straight through once its grid is gone.
class VUraRazuduVova::FormResizeHook {
public:
  FormResizeHook(VUraRazuduVova& grid, TNotifyEvent previous)
      : grid_(&grid), alive_(grid), previous_(std::move(previous)) {}

  void operator()(TObject* Sender) const {
    if (alive_.Alive())
      grid_->GridResize(Sender, previous_);
    else if (previous_)
      previous_(Sender);
  }

  const VUraRazuduVova* Grid() const { return grid_; }
  TNotifyEvent& Previous() { return previous_; }

private:
  VUraRazuduVova* grid_;
  TComponent::TGuard alive_;
  TNotifyEvent previous_;
};

VUraRazuduVova::VUraRazuduVova(TComponent* AOwner)
    : TBaseGrid(AOwner), scrollWidth_(GetSystemMetrics(SM_CXVSCROLL)) {
  columnHeaders_.OnChange = [this](TStringList&) { ShowColumnHeaders(); };
  mergedColumns_.OnChange = [this](TIntList&, int, int) {
    UndoColumnMerge();
    ApplyColumnMerge();
  };
  fixedFont_.SetName("Tahoma");
  fixedFont_.OnChange = [this] { Invalidate(); };
  Font().SetName("Tahoma");
  activeCellFont_.SetStyle({TFontStyle::fsBold});
  activeCellFont_.OnChange = [this] { Invalidate(); };
  rowHeaders_.OnChange = [this](TStringList&) { ShowRowHeaders(); };
  SetDefaultRowHeight(21);
  CreateChildControls();
  HookFormResize();
  footerPanel_ = new TFooterPanel(this, *this);
  footerPanel_->SetParent(this);
}

VUraRazuduVova::~VUraRazuduVova() {
  UnhookFormResize();
  SaveColumnWidthsOnDestroy();
  // Each one unlinks itself from the grid (Notification) as it goes.
  while (!arrows_.empty()) delete arrows_.back();
  delete popupButton_;
  delete footerPanel_;
  // Before the grid's own state goes, and with no edit left open: an editor control that loses the
  // focus as it goes calls back into the grid.
  shownControl_ = nullptr;
  linkShown_ = false;
  for (TWinControl* control : EditorControls()) delete control;
  // The free notifications of the references and notifiers end with the component.
  for (TGridItem& item : hiddenRows_) FreeItemProperties(item);
  FreeAllCellProperties();
}

void VUraRazuduVova::CreateChildControls() {
  if (BeingDesigned(*this)) return;
  for (TArrowDirection direction :
       {TArrowDirection::arrUp, TArrowDirection::arrDown, TArrowDirection::arrLeft, TArrowDirection::arrRight})
    arrows_.push_back(new TArrowWindow(this, direction));
  CreateEditorControls();
  // FIXME: the grid's measuring rich edit and its own hint window are made here too.
  popupButton_ = new TPopupButton(this);
}

void VUraRazuduVova::HookFormResize() {
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (!form || BeingDesigned(*this)) return;
  hookedForm_ = form;
  formAlive_.emplace(*form);
  formClientSize_ = {form->ClientWidth(), form->ClientHeight()};
  form->OnResize = FormResizeHook(*this, std::move(form->OnResize));
}

void VUraRazuduVova::UnhookFormResize() {
  if (!hookedForm_ || formAlive_->Gone()) return;
  // Walk the grids' links from the head; the one whose handler leads to this grid's link takes over
  // what this link calls.
  TNotifyEvent* link = &hookedForm_->OnResize;
  while (auto* hook = link->target<FormResizeHook>()) {
    if (hook->Grid() == this) {
      TNotifyEvent previous = std::move(hook->Previous());
      *link = std::move(previous);
      return;
    }
    link = &hook->Previous();
  }
}

void VUraRazuduVova::GridResize(TObject* Sender, const TNotifyEvent& previous) {
  if (SizeWithForm && !BeingDesigned(*this)) {
    if (auto* form = dynamic_cast<TCustomForm*>(Sender)) {
      const int width = Width() + form->ClientWidth() - formClientSize_.X;
      const int height = Height() + form->ClientHeight() - formClientSize_.Y;
      if (width > 0 && height > 0) {
        formClientSize_ = {form->ClientWidth(), form->ClientHeight()};
        SetBounds(Left(), Top(), width, height);
      }
    }
  }
  if (previous) previous(Sender);
}

void VUraRazuduVova::SaveColumnWidthsOnDestroy() {
  if (!columnSize_.Save) return;
  try {
    SaveColSizes();
  } catch (...) {
    Application().HandleCurrentException();
  }
}

template <class T>
void VUraRazuduVova::SetReference(T*& field, T* value) {
  if (field == value) return;
  if (field) field->RemoveFreeNotification(this);
  field = value;
  if (field) field->FreeNotification(this);
}

void VUraRazuduVova::SetImages(TCustomImageList* value) {
  if (gridImages_ == value) return;
  SetReference(gridImages_, value);
  Invalidate();
}

void VUraRazuduVova::SetPictureContainer(controls::TPictureContainer* value) {
  SetReference(pictureContainer_, value);
  Invalidate();
}

void VUraRazuduVova::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == TOperation::opRemove) {
    if (AComponent == gridImages_) gridImages_ = nullptr;
    if (AComponent == pictureContainer_) pictureContainer_ = nullptr;
    std::erase(notifiers_, AComponent);
    std::erase(arrows_, AComponent);
    if (AComponent == popupButton_) popupButton_ = nullptr;
    if (AComponent == footerPanel_) footerPanel_ = nullptr;
    ForgetEditorControl(AComponent);
  }
  TBaseGrid::Notification(AComponent, Operation);
}

void VUraRazuduVova::RegisterNotifier(TGridChangeNotifier* Notifier) {
  if (!Notifier || std::find(notifiers_.begin(), notifiers_.end(), Notifier) != notifiers_.end()) return;
  notifiers_.push_back(Notifier);
  Notifier->FreeNotification(this);
}

void VUraRazuduVova::UnRegisterNotifier(TGridChangeNotifier* Notifier) {
  auto it = std::find(notifiers_.begin(), notifiers_.end(), Notifier);
  if (it == notifiers_.end()) return;
  notifiers_.erase(it);
  Notifier->RemoveFreeNotification(this);
}

void VUraRazuduVova::SetIntegralHeight(bool value) {
  integralHeight_ = value;
  SetBounds(Left(), Top(), Width(), Height());
}

void VUraRazuduVova::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int rowHeight = DefaultRowHeight();
  if (integralHeight_ && rowHeight >= 1) {
    int height = AHeight;
    if (VisibleColCount() + FixedCols() < ColCount())
      height = height - height % rowHeight - 1;
    else
      height = height + rowHeight - height % rowHeight - 1 - GetSystemMetrics(SM_CYHSCROLL);
    AHeight = std::max(height, 0);
  }
  TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void VUraRazuduVova::Invalidate() {
  if (skipInvalidate_) {
    skipInvalidate_ = false;
    return;
  }
  TBaseGrid::Invalidate();
}

void VUraRazuduVova::Loaded() {
  TBaseGrid::Loaded();
  normalCursor_ = Cursor();
  ShowColumnHeaders();
  ShowRowHeaders();
}

void VUraRazuduVova::CreateWnd() {
  TBaseGrid::CreateWnd();
  if (!Parent()) return;
  if (columnSize_.Save) LoadColSizes();
  SetTimer(Handle(), kGridTimerId, kGridTimerMs);
  if (scrollType_ != TScrollType::ssNormal || scrollProportional_) {
    FlatInit();
    FlatUpdate();
  }
}

void VUraRazuduVova::DestroyWnd() {
  if (HandleAllocated()) KillTimer(Handle(), kGridTimerId);
  TBaseGrid::DestroyWnd();
}

void VUraRazuduVova::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                     int& SizingOfs) {
  TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
  if (State == TGridState::gsNormal) return;
  int col = 0;
  int row = 0;
  bool allow = true;
  if (State == TGridState::gsColSizing) {
    MouseToCell(X - 4, Y, col, row);
    if (row == 0 && OnColumnSize) OnColumnSize(this, Index, allow);
  } else {
    MouseToCell(X, Y - 4, col, row);
    if (col == 0 && OnRowSize) OnRowSize(this, Index, allow);
  }
  if (!allow) State = TGridState::gsNormal;
  if (State != TGridState::gsNormal) BeginMouseSizing(State == TGridState::gsColSizing ? TGridLine::Column : TGridLine::Row, Index);
}

}  // namespace velmora
