#include "platform/ui/ControlClasses.h"

#include "platform/ui/ColorIdentifiers.h"
#include "platform/ui/ControlAppearance.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PublishedClasses.h"

namespace platform {

void PublishControlClasses() {
  PublishEnum<TFontStyle>({{"fsBold", TFontStyle::fsBold},
                           {"fsItalic", TFontStyle::fsItalic},
                           {"fsUnderline", TFontStyle::fsUnderline},
                           {"fsStrikeOut", TFontStyle::fsStrikeOut}});
  PublishSet<TFontStyles, TFontStyle>();
  TClassPublisher<TFont>("TFont")
      .Property("Name", &TFont::SetName)
      .Property("Size", &TFont::SetSize)
      .Property("Height", &TFont::SetHeight)
      .Property("Style", &TFont::SetStyle)
      .Property("Color", &TFont::SetColor, ColorIdentifiers());

  PublishEnum<TAlign>({{"alNone", TAlign::alNone},
                       {"alTop", TAlign::alTop},
                       {"alBottom", TAlign::alBottom},
                       {"alLeft", TAlign::alLeft},
                       {"alRight", TAlign::alRight},
                       {"alClient", TAlign::alClient}});
  PublishEnum<TAnchorKind>({{"akLeft", TAnchorKind::akLeft},
                            {"akTop", TAnchorKind::akTop},
                            {"akRight", TAnchorKind::akRight},
                            {"akBottom", TAnchorKind::akBottom}});
  PublishSet<TAnchors, TAnchorKind>();
  TClassPublisher<TControl, TComponent>("TControl")
      .Property("Left", &TControl::SetLeft)
      .Property("Top", &TControl::SetTop)
      .Property("Width", &TControl::SetWidth)
      .Property("Height", &TControl::SetHeight)
      .Property("Align", &TControl::SetAlign)
      .Property("Anchors", &TControl::SetAnchors)
      .Property("Visible", &TControl::SetVisible)
      .Property("Enabled", &TControl::SetEnabled)
      .Property("Color", &TControl::SetColor, ColorIdentifiers())
      .Property("ParentColor", &TControl::SetParentColor)
      .Object("Font", [](TControl& control) -> TFont& { return control.Font(); })
      .Property("ParentFont", &TControl::SetParentFont)
      .Property("Hint", &TControl::SetHint)
      .Property("ShowHint", &TControl::SetShowHint)
      .Property("ParentShowHint", &TControl::SetParentShowHint)
      .Property("PopupMenu", &TControl::SetPopupMenu)
      .Property("OnClick", &TControl::OnClick)
      .Property("OnDblClick", &TControl::OnDblClick)
      .Property("OnMouseDown", &TControl::OnMouseDown)
      .Property("OnMouseUp", &TControl::OnMouseUp)
      .Property("OnMouseMove", &TControl::OnMouseMove)
      .Property("OnResize", &TControl::OnResize)
      .Nested([](TControl& control, TComponent& container) {
        if (auto* parent = dynamic_cast<TWinControl*>(&container)) control.SetParent(parent);
      });
  TClassPublisher<TWinControl, TControl>("TWinControl")
      .Property("TabOrder", &TWinControl::SetTabOrder)
      .Property("TabStop", &TWinControl::SetTabStop)
      .Property("OnEnter", &TWinControl::OnEnter)
      .Property("OnExit", &TWinControl::OnExit)
      .Property("OnKeyDown", &TWinControl::OnKeyDown)
      .Property("OnKeyPress", &TWinControl::OnKeyPress)
      .Property("OnKeyUp", &TWinControl::OnKeyUp);
  TClassPublisher<TCustomControl, TWinControl>("TCustomControl");
  PublishEnum<TBorderStyle>({{"bsNone", TBorderStyle::bsNone}, {"bsSingle", TBorderStyle::bsSingle}});
  PublishEditClasses();
}

}  // namespace platform
