// The gradient button's picture: the face, gradient, image, captions,
// frame and focus mark, in the system's colours under high contrast.
#include "controls/PlButton.h"

#include <tuple>
#include <vector>

#include "platform/HighContrast.h"
#include "platform/Scaling.h"
#include "platform/WindowHelpers.h"

namespace {

constexpr COLORREF kRoundOutline = 0x00757575;
constexpr COLORREF kPressedInnerRing = 0x00808080;
constexpr COLORREF kRoundFocus = 0x00202020;

COLORREF ResolveColour(ButtonColour colour)
{
    if ((colour & 0xFF000000) == kSystemColourFlag)
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return colour & 0x00FFFFFF;
}

// The caption's characters, a double-byte character (lead and trail byte)
// counting as one.
std::vector<std::string> SplitCharacters(const std::string& text)
{
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size() && text[i + 1] != '\0';
        const std::size_t length = pair ? 2 : 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

SIZE TextExtent(HDC dc, const std::string& text)
{
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TextAt(HDC dc, int x, int y, const std::string& text)
{
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

UINT TextAlignOf(TextAnchor anchor)
{
    switch (anchor) {
    case TextAnchor::Left:
        return TA_LEFT | TA_TOP;
    case TextAnchor::Right:
        return TA_RIGHT | TA_TOP;
    case TextAnchor::Center:
        break;
    }
    return TA_CENTER | TA_TOP;
}

}  // namespace

void TplButton::PaintContent(HDC dc)
{
    if (!Handle())
        return;
    if (parentColor_) {
        PaintFace(dc);
        return;
    }
    // Painted whole off screen and copied in one transfer, so no step of the
    // face flickers through.
    const int w = ClientWidth();
    const int h = ClientHeight();
    if (w <= 0 || h <= 0)
        return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap;
    {
        WindowDc screen(nullptr);
        bitmap.reset(CreateCompatibleBitmap(screen.get(), w, h));
    }
    if (!memory || !bitmap) {
        PaintFace(dc);
        return;
    }
    SelectGuard selected(memory.get(), bitmap.get());
    PaintFace(memory.get());
    BitBlt(dc, 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
}

void TplButton::PaintFace(HDC dc)
{
    const RECT face{0, 0, ClientWidth(), ClientHeight()};
    if (HighContrastOn()) {
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));  // flat, the theme's own face
    } else if (gradation_) {
        DrawGradient(dc);
    } else {
        UniqueBrush brush(CreateSolidBrush(ResolveColour(color_)));
        FillRect(dc, &face, brush.get());
    }
    DrawImage(dc);

    HFONT font = font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectGuard fontGuard(dc, font);
    CaptionLines lines;
    lines.height = face.bottom;
    lines.heightA = TextExtent(dc, captionA_->Caption()).cy;
    lines.heightB = TextExtent(dc, captionB_->Caption()).cy;
    lines.emptyA = captionA_->Caption().empty();
    lines.emptyB = captionB_->Caption().empty();
    lines.lineSpace = Px(captionLineSpace_);
    lines.vertCenter = captionVertCenter_;
    lines.captionTop = Px(captionTop_);
    const CaptionTops tops = PlaceCaptionLines(lines);
    // Centred lines are remembered as the fixed top (the field, not the
    // setter: centring stays on).
    captionTop_ = Unscale(tops.captionTop, Dpi());
    DrawCaption(dc, *captionA_, tops.first);
    DrawCaption(dc, *captionB_, tops.second);

    DrawFrame(dc);
    // Hidden while the form was only used with the mouse.
    const bool cues = (SendMessageA(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
    if (Focused() && hasFocus_ && cues)
        DrawFocus(dc);
}

void TplButton::DrawGradient(HDC dc)
{
    const int w = ClientWidth();
    const int h = ClientHeight();
    const COLORREF begin = GetNearestColor(dc, ResolveColour(gradBeginColor_));
    const COLORREF end = GetNearestColor(dc, ResolveColour(gradEndColor_));
    const std::vector<ButtonColour> rows = GradientRows(begin, end, h);
    SelectGuard pen(dc, GetStockObject(DC_PEN));
    const COLORREF oldColour = GetDCPenColor(dc);
    for (int y = 0; y < static_cast<int>(rows.size()); ++y) {
        SetDCPenColor(dc, rows[static_cast<std::size_t>(y)]);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, w, y);
    }
    SetDCPenColor(dc, oldColour);
}

void TplButton::DrawImage(HDC dc)
{
    TplBtnImage& image = *image_;
    if (!image.visible_ || image.Empty())
        return;
    const int p = PressedOffset();
    // The stored offsets follow the size while centring stays on.
    // The offsets are kept at 96 DPI; the picture itself is drawn at its own
    // size.
    const int left = image.horzCenter_ ? (ClientWidth() - image.width_) / 2 : Px(image.left_);
    const int top = image.vertCenter_ ? (ClientHeight() - image.height_) / 2 : Px(image.top_);
    if (image.vertCenter_)
        image.top_ = Unscale(top, Dpi());
    if (image.horzCenter_)
        image.left_ = Unscale(left, Dpi());
    const bool disabledLook = !Enabled() && hasFocus_;
    const int x = left + p;
    const int y = top + p;
    if (image.bitmap_) {
        if (image.transParent_ && !disabledLook) {
            // The bottom-left pixel names the colour that lets the face through.
            UniqueMemoryDc source(CreateCompatibleDC(dc));
            SelectGuard selected(source.get(), image.bitmap_.get());
            const COLORREF key = GetPixel(source.get(), 0, image.height_ - 1);
            GdiTransparentBlt(dc, x, y, image.width_, image.height_, source.get(), 0, 0, image.width_, image.height_,
                              key);
            return;
        }
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.bitmap_.get()), 0, x, y, image.width_,
                   image.height_, DST_BITMAP | (disabledLook ? DSS_DISABLED : 0));
    } else {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image.icon_.get()), 0, x, y, image.width_,
                   image.height_, DST_ICON | (disabledLook ? DSS_DISABLED : 0));
    }
}

void TplButton::DrawCaption(HDC dc, const TplBtnCaption& caption, int y)
{
    const std::vector<std::string> characters = SplitCharacters(caption.Caption());
    const int n = static_cast<int>(characters.size());
    if (n == 0)
        return;
    SetBkMode(dc, TRANSPARENT);
    const CaptionOrigin origin =
        PlaceCaption(caption.Alignment(), n, ClientWidth(), Px(caption.Left()), Px(caption.Right()));
    const UINT oldAlign = SetTextAlign(dc, TextAlignOf(origin.anchor));
    const int p = PressedOffset();
    const int x = origin.x + p;
    y += p;

    const bool even = origin.alignment == TplBtnAlignment::taEven;
    EvenSpacing spacing;
    std::vector<int> widths;
    if (even) {
        spacing = SpreadEvenly(origin.available, TextExtent(dc, caption.Caption()).cx, n);
        widths.reserve(characters.size());
        for (const std::string& c : characters)
            widths.push_back(TextExtent(dc, c).cx);
    }
    // Each pass walks the characters with its own copy of the rest.
    const auto drawAt = [&](int left, int top) {
        if (!even) {
            TextAt(dc, left, top, caption.Caption());
            return;
        }
        const std::vector<int> xs = EvenCharacterPositions(left, widths, spacing);
        for (std::size_t k = 0; k < characters.size(); ++k)
            TextAt(dc, xs[k], top, characters[k]);
    };

    const COLORREF oldColour = GetTextColor(dc);
    COLORREF colour = ResolveColour(fontColor_);
    if (HighContrastOn()) {
        colour = GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    } else if (!Enabled() && hasFocus_) {
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        drawAt(x + 1, y + 1);
        colour = GetSysColor(COLOR_BTNSHADOW);
    }
    SetTextColor(dc, colour);
    drawAt(x, y);
    SetTextColor(dc, oldColour);
    SetTextAlign(dc, oldAlign);
}

void TplButton::DrawFrame(HDC dc)
{
    RECT face{0, 0, ClientWidth(), ClientHeight()};
    switch (buttonStyle_) {
    case TplButtonStyle::bsNormal:
        if (!pressed_) {
            DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
        } else {
            FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
            RECT inner = face;
            InflateRect(&inner, -1, -1);
            UniqueBrush ring(CreateSolidBrush(kPressedInnerRing));
            FrameRect(dc, &inner, ring.get());
        }
        break;
    case TplButtonStyle::bsFlat:
        switch (flatFrameType_) {
        case TplBtnFrameType::bffFlat:
            DrawEdge(dc, &face, EDGE_BUMP, BF_RECT | BF_FLAT);
            break;
        case TplBtnFrameType::bffEtched:
            DrawEdge(dc, &face, EDGE_ETCHED, BF_RECT);
            break;
        case TplBtnFrameType::bffBump:
            DrawEdge(dc, &face, EDGE_BUMP, BF_RECT);
            break;
        }
        break;
    case TplButtonStyle::bsRoundRect: {
        UniquePen pen(CreatePen(PS_SOLID, 1, ContrastColour(kRoundOutline, COLOR_BTNTEXT)));
        SelectGuard penGuard(dc, pen.get());
        SelectGuard brushGuard(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, 0, 0, face.right, face.bottom, Px(cornerSize_), Px(cornerSize_));
        break;
    }
    case TplButtonStyle::bsFlatNoFrame:
    case TplButtonStyle::bsRoundRectNoFrame:
        break;
    }
}

void TplButton::DrawFocus(HDC dc)
{
    RECT face{0, 0, ClientWidth(), ClientHeight()};
    if (IsRoundStyle(buttonStyle_)) {
        const LOGBRUSH brush{BS_SOLID, kRoundFocus, 0};
        UniquePen pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
        SelectGuard penGuard(dc, pen.get());
        SelectGuard brushGuard(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, Px(2), Px(2), face.right - Px(2), face.bottom - Px(2), Px(cornerSize_ - 2), Px(cornerSize_ - 2));
        return;
    }
    InflateRect(&face, -Px(3), -Px(3));
    if (buttonStyle_ == TplButtonStyle::bsFlat) {
        if (flatFrameType_ == TplBtnFrameType::bffBump) {
            ++face.right;
            ++face.bottom;
        } else if (flatFrameType_ == TplBtnFrameType::bffEtched) {
            --face.right;
            --face.bottom;
        }
    }
    const COLORREF oldColour = SetTextColor(dc, 0x00FFFFFF);
    DrawFocusRect(dc, &face);
    SetTextColor(dc, oldColour);
}
