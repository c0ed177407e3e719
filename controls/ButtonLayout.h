// The gradient button's arithmetic, apart from any window: where its caption
// lines go, how evenly spread captions walk, and the colour of each face row.
#pragma once
#include <cstdint>
#include <vector>

// Colours are 0x00BBGGRR; the top byte is ignored by the arithmetic.
using ButtonColour = std::uint32_t;

enum class TplButtonStyle { bsNormal, bsFlat, bsFlatNoFrame, bsRoundRect, bsRoundRectNoFrame };
enum class TplBtnFrameType { bffFlat, bffEtched, bffBump };
// Centre comes first: it is the default of every caption.
enum class TplBtnAlignment { taCenter, taLeft, taRight, taEven };

inline bool IsRoundStyle(TplButtonStyle style)
{
    return style == TplButtonStyle::bsRoundRect || style == TplButtonStyle::bsRoundRectNoFrame;
}

// What the caption placement needs to know of one painting.
struct CaptionLines {
    int height = 0;            // the button's client height
    int heightA = 0;           // text height of the first line
    int heightB = 0;           // text height of the second line
    bool emptyA = true;
    bool emptyB = true;
    int lineSpace = 4;
    bool vertCenter = true;
    int captionTop = 0;
};

struct CaptionTops {
    int first = 0;       // top of the first line
    int second = 0;      // top of the second line
    int captionTop = 0;  // what the button keeps as its caption top afterwards
};

// Centred lines also become the stored caption top, so that a later switch
// to fixed placement keeps them where they are.
CaptionTops PlaceCaptionLines(const CaptionLines& lines);

// The text alignment a caption is drawn with.
enum class TextAnchor { Left, Right, Center };

struct CaptionOrigin {
    TplBtnAlignment alignment = TplBtnAlignment::taCenter;  // even spreading of one character is centred
    TextAnchor anchor = TextAnchor::Center;
    int x = 0;
    int available = 0;  // the width an evenly spread caption fills
};

// `characters` counts a double-byte character as one.
CaptionOrigin PlaceCaption(TplBtnAlignment alignment, int characters, int width, int left, int right);

struct EvenSpacing {
    int gap = 0;
    int rest = 0;
};

// Spreads a caption of `textWidth` over `available` pixels between
// `characters` (>= 2) characters; the rest takes the sign of the shortfall.
EvenSpacing SpreadEvenly(int available, int textWidth, int characters);

// The x of each character from `x`, given each character's own width: every
// step adds its width and the gap, and one more pixel (or one less) while
// any rest is left.
std::vector<int> EvenCharacterPositions(int x, const std::vector<int>& characterWidths, EvenSpacing spacing);

// Row y of a face `height` rows high, from `begin` at the top to exactly
// `end` at the bottom; each channel truncates toward zero. A one-row face is
// the begin colour.
ButtonColour GradientRowColour(ButtonColour begin, ButtonColour end, int y, int height);

// Every row's colour; none for a height of 0 or less.
std::vector<ButtonColour> GradientRows(ButtonColour begin, ButtonColour end, int height);
