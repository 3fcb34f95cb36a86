#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/Exception.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/TextMetric.h"
#include "platform/app/Messages.h"

// The binding of the visual styles (theme) library. The library is looked up once when the program
// starts (BindThemeLibrary) and every theme function is reached through the pointer of its name below;
// a pointer is null while the library or that entry point is missing. Callers decide themselves that
// themes are in use (the grid's IsThemed flag, an editor's own XP test) before they call through one.
// This platform has no theme library: the binding finds none, every pointer stays null and every
// control draws its classic look.
namespace velmora::xpvs {

using platform::HDC;
using platform::HWND;
using platform::TColor;
using platform::TPoint;
using platform::TRect;
using platform::TSize;

// The theme library's handles and results. Texts are UTF-8, as everywhere on this platform.
using HTHEME = void*;
using HRESULT = int32_t;
using BOOL = int32_t;
using HBRUSH = void*;
using HRGN = void*;
using HICON = void*;
using HIMAGELIST = void*;
using LPCWSTR = const char*;
using LPWSTR = char*;
struct LOGFONT;

enum THEMESIZE { TS_MIN, TS_TRUE, TS_DRAW };
enum PROPERTYORIGIN { PO_STATE, PO_PART, PO_CLASS, PO_GLOBAL, PO_NOTFOUND };

struct _MARGINS {
  int cxLeftWidth;
  int cxRightWidth;
  int cyTopHeight;
  int cyBottomHeight;
};
using PMARGINS = _MARGINS*;

inline constexpr int MAX_INTLIST_COUNT = 10;
struct _INTLIST {
  int iValueCount;
  int iValues[MAX_INTLIST_COUNT];
};
using PINTLIST = _INTLIST*;

// Parts and states of the theme classes this system draws.
// "combobox": the drop button, normal and pressed.
inline constexpr int CP_DROPDOWNBUTTON = 1;
inline constexpr int CBXS_NORMAL = 1;
inline constexpr int CBXS_PRESSED = 3;
// "spin": the arrows up, down, right (up-horizontal) and left (down-horizontal). The four parts number
// their states alike; the up part's names stand for them all.
inline constexpr int SPNP_UP = 1;
inline constexpr int SPNP_DOWN = 2;
inline constexpr int SPNP_UPHORZ = 3;
inline constexpr int SPNP_DOWNHORZ = 4;
inline constexpr int UPS_NORMAL = 1;
inline constexpr int UPS_PRESSED = 3;

// The entry points, in the order the binding looks them up.
extern HTHEME (*OpenThemeData)(HWND hwnd, LPCWSTR pszClassList);
extern HRESULT (*CloseThemeData)(HTHEME hTheme);
extern HRESULT (*DrawThemeBackground)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                                      const TRect* pClipRect);
extern HRESULT (*DrawThemeText)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText, int iCharCount,
                                uint32_t dwTextFlags, uint32_t dwTextFlags2, const TRect* pRect);
extern HRESULT (*GetThemeBackgroundContentRect)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                                const TRect* pBoundingRect, TRect* pContentRect);
extern HRESULT (*GetThemeBackgroundExtent)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                           const TRect* pContentRect, TRect* pExtentRect);
extern HRESULT (*GetThemeTextExtent)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, LPCWSTR pszText,
                                     int iCharCount, uint32_t dwTextFlags, const TRect* pBoundingRect,
                                     TRect* pExtentRect);
extern HRESULT (*GetThemeTextMetrics)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId,
                                      platform::TTextMetric* ptm);
extern HRESULT (*GetThemeBackgroundRegion)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                                           HRGN* pRegion);
extern HRESULT (*HitTestThemeBackground)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, uint32_t dwOptions,
                                         const TRect* pRect, HRGN hrgn, TPoint ptTest, uint16_t* pwHitTestCode);
extern HRESULT (*DrawThemeEdge)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pDestRect,
                                unsigned uEdge, unsigned uFlags, TRect* pContentRect);
extern HRESULT (*DrawThemeIcon)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, const TRect* pRect,
                                HIMAGELIST himl, int iImageIndex);
extern BOOL (*IsThemePartDefined)(HTHEME hTheme, int iPartId, int iStateId);
extern BOOL (*IsThemeBackgroundPartiallyTransparent)(HTHEME hTheme, int iPartId, int iStateId);
extern HRESULT (*GetThemeColor)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, TColor* pColor);
extern HRESULT (*GetThemeMetric)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, int* piVal);
extern HRESULT (*GetThemeString)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, LPWSTR pszBuff,
                                 int cchMaxBuffChars);
extern HRESULT (*GetThemeBool)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, BOOL* pfVal);
extern HRESULT (*GetThemeInt)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal);
extern HRESULT (*GetThemeEnumValue)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, int* piVal);
extern HRESULT (*GetThemePosition)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, TPoint* pPoint);
extern HRESULT (*GetThemeFont)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, LOGFONT* pFont);
extern HRESULT (*GetThemeRect)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, TRect* pRect);
extern HRESULT (*GetThemeMargins)(HTHEME hTheme, HDC hdc, int iPartId, int iStateId, int iPropId, TRect* prc,
                                  _MARGINS* pMargins);
extern HRESULT (*GetThemeIntList)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, _INTLIST* pIntList);
extern HRESULT (*SetWindowTheme)(HWND hwnd, LPCWSTR pszSubAppName, LPCWSTR pszSubIdList);
extern HRESULT (*GetThemeFilename)(HTHEME hTheme, int iPartId, int iStateId, int iPropId, LPWSTR pszThemeFileName,
                                   int cchMaxBuffChars);
extern TColor (*GetThemeSysColor)(HTHEME hTheme, int iColorId);
extern HBRUSH (*GetThemeSysColorBrush)(HTHEME hTheme, int iColorId);
extern BOOL (*GetThemeSysBool)(HTHEME hTheme, int iBoolId);
extern int (*GetThemeSysSize)(HTHEME hTheme, int iSizeId);
extern HRESULT (*GetThemeSysFont)(HTHEME hTheme, int iFontId, LOGFONT* plf);
extern HRESULT (*GetThemeSysString)(HTHEME hTheme, int iStringId, LPWSTR pszStringBuff, int cchMaxStringChars);
extern HRESULT (*GetThemeSysInt)(HTHEME hTheme, int iIntId, int* piValue);
extern BOOL (*IsThemeActive)();
extern BOOL (*IsAppThemed)();
extern HTHEME (*GetWindowTheme)(HWND hwnd);
extern HRESULT (*EnableThemeDialogTexture)(HWND hwnd, uint32_t dwFlags);
extern BOOL (*IsThemeDialogTextureEnabled)(HWND hwnd);
extern uint32_t (*GetThemeAppProperties)();
extern void (*SetThemeAppProperties)(uint32_t dwFlags);
extern HRESULT (*GetCurrentThemeName)(LPWSTR pszThemeFileName, int cchMaxNameChars, LPWSTR pszColorBuff,
                                      int cchMaxColorChars, LPWSTR pszSizeBuff, int cchMaxSizeChars);
extern HRESULT (*GetThemeDocumentationProperty)(LPCWSTR pszThemeName, LPCWSTR pszPropertyName, LPWSTR pszValueBuff,
                                                int cchMaxValChars);
extern HRESULT (*DrawThemeParentBackground)(HWND hwnd, HDC hdc, TRect* prc);
extern HRESULT (*EnableTheming)(BOOL fEnable);

// The theme library's name.
inline constexpr const char* kThemeLibraryName = "UXTHEME.DLL";

// A loaded library as the binding sees it: the address of an exported name, null when it has none.
using TLibraryLookup = std::function<void*(const char* name)>;
// Opens a library by name; an empty lookup when there is none.
using TLibraryOpener = std::function<TLibraryLookup(const char* name)>;

// A theme entry point the library does not export: the failed check, its unit and source line.
class EAssertionFailed : public platform::Exception {
public:
  EAssertionFailed(std::string unit, int line)
      : Exception("Assertion fehlges"), unit_(std::move(unit)), line_(line) {}
  const std::string& Unit() const { return unit_; }
  int Line() const { return line_; }

private:
  std::string unit_;
  int line_;
};

// Binds the theme library once; later calls do nothing while it is bound. Without the library every
// pointer stays null and nothing is reported. Each entry point the library lacks keeps its pointer null;
// after all lookups the first one missing raises EAssertionFailed. The opener defaults to this
// platform's, which has no theme library.
void BindThemeLibrary(const TLibraryOpener& open = {});
// Frees the library and clears every pointer (at program end).
void UnbindThemeLibrary();
bool ThemeLibraryLoaded();

}  // namespace velmora::xpvs
