#include "menu/MenuPalette.h"

#include <algorithm>
#include <cmath>


namespace {

constexpr MenuPalette kLight{
    .rowBackground = kRowBackground,
    .leftColumnNormal = kLeftColumnNormal,
    .leftColumnSelected = kLeftColumnSelected,
    .iconColumnNormal = kIconColumnNormal,
    .bodyStart = kBodyGradientStart,
    .bodyEnd = kBodyGradientEnd,
    .frameOutline = kFrameOutline,
    .frameFill = kFrameFill,
    .letterNormal = kLetterNormal,
    .letterSelected = kLetterSelected,
    .captionText = kCaptionText,
    .captionShadow = kCaptionShadow,
    .fixedRowCaption = kFixedRowCaption,
    .greyedCaption = kGreyedCaption,
};

// The light look's hues kept (a warm left band, a blue selection, a green
// tint at the body's end) at the taskbar's darkness; 0x00BBGGRR.
constexpr MenuPalette kDark{
    .rowBackground = 0x00202020,
    .leftColumnNormal = 0x00242E3A,
    .leftColumnSelected = 0x00583A24,
    .iconColumnNormal = 0x0024282C,
    .bodyStart = 0x00202020,
    .bodyEnd = 0x00222C1E,
    .frameOutline = 0x00E6A06E,
    .frameFill = 0x00603E28,
    .letterNormal = 0x0078B4F0,
    .letterSelected = 0x00FFC8A0,
    .captionText = 0x00F0F0F0,
    .captionShadow = 0x00321E14,
    .fixedRowCaption = 0x00BEE6C8,
    .greyedCaption = 0x00969696,
};

double Channel(unsigned value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

const MenuPalette& LightMenuPalette() { return kLight; }
const MenuPalette& DarkMenuPalette() { return kDark; }

MenuThemeChoice MenuThemeFromValue(std::uint32_t value)
{
    return value == 1 ? MenuThemeChoice::Light : value == 2 ? MenuThemeChoice::Dark : MenuThemeChoice::Automatic;
}

bool DarkMenus(MenuThemeChoice choice, bool taskbarLight)
{
    switch (choice) {
    case MenuThemeChoice::Light: return false;
    case MenuThemeChoice::Dark: return true;
    case MenuThemeChoice::Automatic: break;
    }
    return !taskbarLight;
}

double RelativeLuminance(Colour colour)
{
    const unsigned r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    return 0.2126 * Channel(r) + 0.7152 * Channel(g) + 0.0722 * Channel(b);
}

double ContrastRatio(Colour a, Colour b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
