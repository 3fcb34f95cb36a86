#include <algorithm>
#include <cmath>

#include "controls/MarkupStatusBar.h"

namespace controls {

template <class T>
void TProgressStyle::Store(T& field, T value) {
  if (field == value) return;
  field = value;
  if (auto* bar = dynamic_cast<TMarkupStatusBar*>(panel_->Collection()->Owner())) bar->InvalidatePanel(panel_->Index());
}

void TProgressStyle::SetColor(TColor value) { Store(color_, value); }
void TProgressStyle::SetBackGround(TColor value) { Store(background_, value); }
void TProgressStyle::SetTextColor(TColor value) { Store(textColor_, value); }
void TProgressStyle::SetIndication(TProgressIndication value) { Store(indication_, value); }
void TProgressStyle::SetMin(int value) { Store(min_, value); }
void TProgressStyle::SetMax(int value) { Store(max_, value); }
void TProgressStyle::SetPosition(int value) { Store(position_, value); }

std::string TProgressStyle::Caption() const {
  switch (indication_) {
    case TProgressIndication::piPercentage: {
      const double range = static_cast<double>(max_) - min_;
      if (range < 1) return "0%";
      // nearbyint rounds halves to the even neighbour in the default rounding mode.
      return std::to_string(static_cast<long long>(std::nearbyint((static_cast<double>(position_) - min_) * 100 / range))) + "%";
    }
    case TProgressIndication::piAbsolute:
      return std::to_string(position_);
    case TProgressIndication::piNone:
      break;
  }
  return {};
}

int TProgressStyle::FilledWidth(int width) const {
  const double range = static_cast<double>(max_) - min_;
  if (range <= 0 || width <= 0) return 0;
  const double filled = std::nearbyint(width * ((static_cast<double>(position_) - min_) / range));
  return static_cast<int>(std::clamp(filled, 0.0, static_cast<double>(width)));
}

void TProgressStyle::Assign(const platform::TPersistent* Source) {
  if (const auto* source = dynamic_cast<const TProgressStyle*>(Source)) {
    SetColor(source->color_);
    SetBackGround(source->background_);
    SetTextColor(source->textColor_);
    SetIndication(source->indication_);
    SetMin(source->min_);
    SetMax(source->max_);
    SetPosition(source->position_);
    return;
  }
  TPersistent::Assign(Source);
}

TMarkupStatusPanel::TMarkupStatusPanel(platform::TCollection* Collection) : TCollectionItem(Collection) {}

template <class T>
void TMarkupStatusPanel::Store(T& field, const T& value, bool allItems) {
  if (field == value) return;
  field = value;
  Changed(allItems);
}

void TMarkupStatusPanel::SetAlignment(TAlignment value) { Store(alignment_, value, false); }
void TMarkupStatusPanel::SetBevel(TMarkupStatusPanelBevel value) { Store(bevel_, value, false); }
void TMarkupStatusPanel::SetStyle(TMarkupStatusPanelStyle value) { Store(style_, value, false); }
void TMarkupStatusPanel::SetText(const std::string& value) { Store(text_, value, false); }
void TMarkupStatusPanel::SetWidth(int value) { Store(width_, value, true); }
void TMarkupStatusPanel::SetDateFormat(const std::string& value) { Store(dateFormat_, value, true); }
void TMarkupStatusPanel::SetTimeFormat(const std::string& value) { Store(timeFormat_, value, true); }
void TMarkupStatusPanel::SetHint(const std::string& value) { Store(hint_, value, true); }

void TMarkupStatusPanel::Assign(const platform::TPersistent* Source) {
  if (const auto* panel = dynamic_cast<const TMarkupStatusPanel*>(Source)) {
    text_ = panel->text_;
    width_ = panel->width_;
    alignment_ = panel->alignment_;
    bevel_ = panel->bevel_;
    style_ = panel->style_;
    dateFormat_ = panel->dateFormat_;
    timeFormat_ = panel->timeFormat_;
    progress_.Assign(&panel->progress_);
    hint_ = panel->hint_;
    Changed(true);
    return;
  }
  TCollectionItem::Assign(Source);
}

std::string TMarkupStatusPanel::DisplayName() const {
  return text_.empty() ? TCollectionItem::DisplayName() : text_;
}

TMarkupStatusPanels::TMarkupStatusPanels(TMarkupStatusBar* StatusBar)
    : TOwnedCollection(StatusBar, platform::CollectionItemClass<TMarkupStatusPanel>()), bar_(StatusBar) {}

void TMarkupStatusPanels::Update(platform::TCollectionItem* Item) {
  if (Item)
    bar_->UpdatePanel(Item->Index(), false);
  else
    bar_->UpdatePanels(true, false);
}

}  // namespace controls
