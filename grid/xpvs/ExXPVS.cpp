#include "grid/xpvs/ExXPVS.h"

#include <array>
#include <optional>
#include <type_traits>

namespace velmora::xpvs {

decltype(::velmora::xpvs::OpenThemeData) OpenThemeData = nullptr;
decltype(::velmora::xpvs::CloseThemeData) CloseThemeData = nullptr;
decltype(::velmora::xpvs::DrawThemeBackground) DrawThemeBackground = nullptr;
decltype(::velmora::xpvs::DrawThemeText) DrawThemeText = nullptr;
decltype(::velmora::xpvs::GetThemeBackgroundContentRect) GetThemeBackgroundContentRect = nullptr;
decltype(::velmora::xpvs::GetThemeBackgroundExtent) GetThemeBackgroundExtent = nullptr;
decltype(::velmora::xpvs::GetThemeTextExtent) GetThemeTextExtent = nullptr;
decltype(::velmora::xpvs::GetThemeTextMetrics) GetThemeTextMetrics = nullptr;
decltype(::velmora::xpvs::GetThemeBackgroundRegion) GetThemeBackgroundRegion = nullptr;
decltype(::velmora::xpvs::HitTestThemeBackground) HitTestThemeBackground = nullptr;
decltype(::velmora::xpvs::DrawThemeEdge) DrawThemeEdge = nullptr;
decltype(::velmora::xpvs::DrawThemeIcon) DrawThemeIcon = nullptr;
decltype(::velmora::xpvs::IsThemePartDefined) IsThemePartDefined = nullptr;
decltype(::velmora::xpvs::IsThemeBackgroundPartiallyTransparent) IsThemeBackgroundPartiallyTransparent = nullptr;
decltype(::velmora::xpvs::GetThemeColor) GetThemeColor = nullptr;
decltype(::velmora::xpvs::GetThemeMetric) GetThemeMetric = nullptr;
decltype(::velmora::xpvs::GetThemeString) GetThemeString = nullptr;
decltype(::velmora::xpvs::GetThemeBool) GetThemeBool = nullptr;
decltype(::velmora::xpvs::GetThemeInt) GetThemeInt = nullptr;
decltype(::velmora::xpvs::GetThemeEnumValue) GetThemeEnumValue = nullptr;
decltype(::velmora::xpvs::GetThemePosition) GetThemePosition = nullptr;
decltype(::velmora::xpvs::GetThemeFont) GetThemeFont = nullptr;
decltype(::velmora::xpvs::GetThemeRect) GetThemeRect = nullptr;
decltype(::velmora::xpvs::GetThemeMargins) GetThemeMargins = nullptr;
decltype(::velmora::xpvs::GetThemeIntList) GetThemeIntList = nullptr;
decltype(::velmora::xpvs::SetWindowTheme) SetWindowTheme = nullptr;
decltype(::velmora::xpvs::GetThemeFilename) GetThemeFilename = nullptr;
decltype(::velmora::xpvs::GetThemeSysColor) GetThemeSysColor = nullptr;
decltype(::velmora::xpvs::GetThemeSysColorBrush) GetThemeSysColorBrush = nullptr;
decltype(::velmora::xpvs::GetThemeSysBool) GetThemeSysBool = nullptr;
decltype(::velmora::xpvs::GetThemeSysSize) GetThemeSysSize = nullptr;
decltype(::velmora::xpvs::GetThemeSysFont) GetThemeSysFont = nullptr;
decltype(::velmora::xpvs::GetThemeSysString) GetThemeSysString = nullptr;
decltype(::velmora::xpvs::GetThemeSysInt) GetThemeSysInt = nullptr;
decltype(::velmora::xpvs::IsThemeActive) IsThemeActive = nullptr;
decltype(::velmora::xpvs::IsAppThemed) IsAppThemed = nullptr;
decltype(::velmora::xpvs::GetWindowTheme) GetWindowTheme = nullptr;
decltype(::velmora::xpvs::EnableThemeDialogTexture) EnableThemeDialogTexture = nullptr;
decltype(::velmora::xpvs::IsThemeDialogTextureEnabled) IsThemeDialogTextureEnabled = nullptr;
decltype(::velmora::xpvs::GetThemeAppProperties) GetThemeAppProperties = nullptr;
decltype(::velmora::xpvs::SetThemeAppProperties) SetThemeAppProperties = nullptr;
decltype(::velmora::xpvs::GetCurrentThemeName) GetCurrentThemeName = nullptr;
decltype(::velmora::xpvs::GetThemeDocumentationProperty) GetThemeDocumentationProperty = nullptr;
decltype(::velmora::xpvs::DrawThemeParentBackground) DrawThemeParentBackground = nullptr;
decltype(::velmora::xpvs::EnableTheming) EnableTheming = nullptr;

namespace {

// The source lines of the lookups as the assertion reports them: the first, then one every three.
constexpr int kFirstLookupLine = 982;
constexpr int kLookupLineStep = 3;

struct TEntryPoint {
  const char* name;
  void (*set)(void* address);
};

template <auto& Pointer>
void SetPointer(void* address) {
  Pointer = reinterpret_cast<std::remove_reference_t<decltype(Pointer)>>(address);
}

#define Entry(pointer) TEntryPoint{#pointer, &SetPointer<pointer>}
const std::array kEntryPoints{
    Entry(OpenThemeData),
    Entry(CloseThemeData),
    Entry(DrawThemeBackground),
    Entry(DrawThemeText),
    Entry(GetThemeBackgroundContentRect),
    Entry(GetThemeBackgroundExtent),
    Entry(GetThemeTextExtent),
    Entry(GetThemeTextMetrics),
    Entry(GetThemeBackgroundRegion),
    Entry(HitTestThemeBackground),
    Entry(DrawThemeEdge),
    Entry(DrawThemeIcon),
    Entry(IsThemePartDefined),
    Entry(IsThemeBackgroundPartiallyTransparent),
    Entry(GetThemeColor),
    Entry(GetThemeMetric),
    Entry(GetThemeString),
    Entry(GetThemeBool),
    Entry(GetThemeInt),
    Entry(GetThemeEnumValue),
    Entry(GetThemePosition),
    Entry(GetThemeFont),
    Entry(GetThemeRect),
    Entry(GetThemeMargins),
    Entry(GetThemeIntList),
    Entry(SetWindowTheme),
    Entry(GetThemeFilename),
    Entry(GetThemeSysColor),
    Entry(GetThemeSysColorBrush),
    Entry(GetThemeSysBool),
    Entry(GetThemeSysSize),
    Entry(GetThemeSysFont),
    Entry(GetThemeSysString),
    Entry(GetThemeSysInt),
    Entry(IsThemeActive),
    Entry(IsAppThemed),
    Entry(GetWindowTheme),
    Entry(EnableThemeDialogTexture),
    Entry(IsThemeDialogTextureEnabled),
    Entry(GetThemeAppProperties),
    Entry(SetThemeAppProperties),
    Entry(GetCurrentThemeName),
    Entry(GetThemeDocumentationProperty),
    Entry(DrawThemeParentBackground),
    Entry(EnableTheming),
};
#undef Entry

bool loaded = false;
TLibraryLookup library;

// This platform has no theme library.
TLibraryLookup OpenNoLibrary(const char*) { return {}; }

}  // namespace

void BindThemeLibrary(const TLibraryOpener& open) {
  if (loaded) return;
  TLibraryLookup found = open ? open(kThemeLibraryName) : OpenNoLibrary(kThemeLibraryName);
  if (!found) return;
  library = std::move(found);
  loaded = true;
  std::optional<int> firstMissing;
  for (size_t i = 0; i < kEntryPoints.size(); ++i) {
    void* address = library(kEntryPoints[i].name);
    kEntryPoints[i].set(address);
    if (!address && !firstMissing) firstMissing = static_cast<int>(i);
  }
  if (firstMissing) throw EAssertionFailed("ExXPVS", kFirstLookupLine + kLookupLineStep * *firstMissing);
}

void UnbindThemeLibrary() {
  if (!loaded) return;
  for (const TEntryPoint& entry : kEntryPoints) entry.set(nullptr);
  library = {};
  loaded = false;
}

bool ThemeLibraryLoaded() { return loaded; }

namespace {

// Binds at program start, before any form exists, and frees at program end.
struct TUnitLifetime {
  TUnitLifetime() { BindThemeLibrary(); }
  ~TUnitLifetime() { UnbindThemeLibrary(); }
} unitLifetime;

}  // namespace

}  // namespace velmora::xpvs
