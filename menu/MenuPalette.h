// The menus' colours for a light and a dark taskbar, and which of them the
// user's choice and the taskbar's theme call for; apart from any window.
#pragma once
#include <cstdint>

#include "platform/GradientBands.h"

// The light look's colours, 0x00BBGGRR.
inline constexpr Colour kRowBackground = 0x00FFFFFF;
inline constexpr Colour kLeftColumnNormal = 0x00C8E6FF;
inline constexpr Colour kLeftColumnSelected = 0x00FFE6C8;
inline constexpr Colour kIconColumnNormal = 0x00E6F5FF;
inline constexpr Colour kBodyGradientStart = 0x00FFFFFF;
inline constexpr Colour kBodyGradientEnd = 0x00D7F2DE;
inline constexpr Colour kFrameOutline = 0x00643214;
inline constexpr Colour kFrameFill = 0x00FFE3D7;
inline constexpr Colour kLetterSelected = 0x00AA6432;
inline constexpr Colour kLetterNormal = 0x003264AA;
inline constexpr Colour kCaptionShadow = 0x00F0B9AA;
inline constexpr Colour kCaptionText = 0x00000000;
inline constexpr Colour kFixedRowCaption = 0x0000321E;
inline constexpr Colour kGreyedCaption = 0x00808080;  // a row that shows a state, not a choice

struct MenuPalette {
    Colour rowBackground;
    Colour leftColumnNormal, leftColumnSelected;
    Colour iconColumnNormal;
    Colour bodyStart, bodyEnd;  // the body's gradient
    Colour frameOutline, frameFill;  // the selected row
    Colour letterNormal, letterSelected;
    Colour captionText, captionShadow;
    Colour fixedRowCaption;  // キャンセル and 迅の終了
    Colour greyedCaption;    // a row that shows a state, not a choice
    bool operator==(const MenuPalette&) const = default;
};

// Today's colours, for a light taskbar.
const MenuPalette& LightMenuPalette();
// The same structure in dark colours, for a dark taskbar.
const MenuPalette& DarkMenuPalette();

// The "MenuTheme" setting: anything else stored reads as automatic.
enum class MenuThemeChoice : std::uint32_t { Automatic = 0, Light = 1, Dark = 2 };
MenuThemeChoice MenuThemeFromValue(std::uint32_t value);
bool DarkMenus(MenuThemeChoice choice, bool taskbarLight);

// WCAG 2 relative luminance (0 to 1) and contrast ratio (1 to 21).
double RelativeLuminance(Colour colour);
double ContrastRatio(Colour a, Colour b);
