#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "grid/xpvs/ExXPVS.h"

namespace controls::test {

// Stands in for the theme library while it lives: OpenThemeData, DrawThemeBackground and
// CloseThemeData of the binding point to recorders, and the destructor sets them back to null.
// DrawThemeBackground fills the part's rectangle with the part's Marker colour, so the pixels show
// where the theme drew which part.
class StandInTheme {
public:
  // The theme library a test case runs with: none (null pointers), a stand-in, or a stand-in whose
  // OpenThemeData finds no theme.
  enum class Library { Absent, Opening, FailingToOpen };
  struct Draw {
    std::string themeClass;
    platform::HWND window;
    int part;
    int state;
    platform::TRect rect;
  };
  // Magenta for part 1, darker for each higher part.
  static constexpr platform::TColor Marker(int part) {
    return platform::RGB(static_cast<uint8_t>(255 - 50 * (part - 1)), 0, 255);
  }

  explicit StandInTheme(Library library = Library::Opening) : library_(library) {
    current_ = this;
    velmora::xpvs::OpenThemeData = &Open;
    velmora::xpvs::DrawThemeBackground = &DrawBackground;
    velmora::xpvs::CloseThemeData = &Close;
  }
  ~StandInTheme() {
    velmora::xpvs::OpenThemeData = nullptr;
    velmora::xpvs::DrawThemeBackground = nullptr;
    velmora::xpvs::CloseThemeData = nullptr;
    current_ = nullptr;
  }
  StandInTheme(const StandInTheme&) = delete;
  StandInTheme& operator=(const StandInTheme&) = delete;
  // The stand-in of a library, none for Absent.
  static std::optional<StandInTheme> For(Library library) {
    if (library == Library::Absent) return std::nullopt;
    return std::optional<StandInTheme>(std::in_place, library);
  }

  // Every call of OpenThemeData, successful or not.
  int Opens() const { return opens_; }
  // Themes opened and not yet closed; a close of an unknown or closed theme counts as a fault.
  int OpenThemes() const {
    return static_cast<int>(std::count_if(themes_.begin(), themes_.end(), [](const Theme& t) { return t.open; }));
  }
  int BadCloses() const { return badCloses_; }
  const std::vector<Draw>& Draws() const { return draws_; }
  // The last draw of a part, or null.
  const Draw* LastDraw(int part) const {
    for (auto it = draws_.rbegin(); it != draws_.rend(); ++it)
      if (it->part == part) return &*it;
    return nullptr;
  }

private:
  struct Theme {
    std::string themeClass;
    platform::HWND window;
    bool open;
  };

  // A theme handle is its index in themes_ plus one.
  static velmora::xpvs::HTHEME Open(platform::HWND window, velmora::xpvs::LPCWSTR themeClass) {
    StandInTheme& self = *current_;
    ++self.opens_;
    if (self.library_ == Library::FailingToOpen) return nullptr;
    self.themes_.push_back({themeClass, window, true});
    return reinterpret_cast<velmora::xpvs::HTHEME>(self.themes_.size());
  }
  static velmora::xpvs::HRESULT DrawBackground(velmora::xpvs::HTHEME theme, platform::HDC dc, int part, int state,
                                               const platform::TRect* rect, const platform::TRect*) {
    StandInTheme& self = *current_;
    const Theme& opened = self.themes_.at(reinterpret_cast<size_t>(theme) - 1);
    self.draws_.push_back({opened.themeClass, opened.window, part, state, *rect});
    dc->Brush().SetStyle(platform::TBrushStyle::bsSolid);
    dc->Brush().SetColor(Marker(part));
    dc->FillRect(*rect);
    return 0;
  }
  static velmora::xpvs::HRESULT Close(velmora::xpvs::HTHEME theme) {
    StandInTheme& self = *current_;
    const size_t index = reinterpret_cast<size_t>(theme) - 1;
    if (index >= self.themes_.size() || !self.themes_[index].open) {
      ++self.badCloses_;
      return 0;
    }
    self.themes_[index].open = false;
    return 0;
  }

  static inline StandInTheme* current_ = nullptr;
  Library library_;
  int opens_ = 0;
  int badCloses_ = 0;
  std::vector<Theme> themes_;
  std::vector<Draw> draws_;
};

}  // namespace controls::test
