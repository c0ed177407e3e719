#include "menu/MenuRowPainter.h"

#include <string>

#include "menu/MenuTheme.h"
#include "platform/HighContrast.h"
#include "platform/WindowHelpers.h"

namespace {

// The Japanese captions need a face with Shift-JIS glyphs.
constexpr const char* kMenuFace = "MS UI Gothic";
constexpr int kMenuPointSize = 9;

HFONT MakeMenuFont(int height, int weight, BYTE charSet)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(lf.lfFaceName, kMenuFace, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

// A frame wider than a pixel is drawn inside the row, as the one-pixel one is.
HPEN MakeFramePen(int width, COLORREF colour)
{
    return CreatePen(width > 1 ? PS_INSIDEFRAME : PS_SOLID, width, colour);
}

}  // namespace

MenuRowPainter::MenuRowPainter(const MenuGeometry& geometry)
    : geometry_(geometry), palette_(ActiveMenuPalette()), width_(geometry.width)
{
    {
        WindowDc screen(nullptr);
        rowDc_.reset(CreateCompatibleDC(screen.get()));
        bodyDc_.reset(CreateCompatibleDC(screen.get()));
    }
    MakeFonts();
    MakeBrushes();
    MakeBitmaps();
}

void MenuRowPainter::MakeBrushes()
{
    backgroundBrush_.reset(CreateSolidBrush(palette_.rowBackground));
    leftNormalBrush_.reset(CreateSolidBrush(palette_.leftColumnNormal));
    leftSelectedBrush_.reset(CreateSolidBrush(palette_.leftColumnSelected));
    iconColumnBrush_.reset(CreateSolidBrush(palette_.iconColumnNormal));
    frameFillBrush_.reset(CreateSolidBrush(palette_.frameFill));
    framePen_.reset(MakeFramePen(geometry_.line, palette_.frameOutline));
}

void MenuRowPainter::FollowTheme()
{
    // The taskbar's theme or the user's choice changed since the last row.
    const MenuPalette& wanted = ActiveMenuPalette();
    if (wanted == palette_)
        return;
    palette_ = wanted;
    MakeBrushes();
    bitmapWidth_ = 0;  // the body gradients are painted anew
    MakeBitmaps();
}

MenuRowPainter::~MenuRowPainter()
{
    // Bitmaps and fonts cannot be deleted while they are selected.
    if (rowDc_ && rowDcOriginalBitmap_)
        SelectObject(rowDc_.get(), rowDcOriginalBitmap_);
    if (rowDc_ && rowDcOriginalFont_)
        SelectObject(rowDc_.get(), rowDcOriginalFont_);
    if (bodyDc_ && bodyDcOriginalBitmap_)
        SelectObject(bodyDc_.get(), bodyDcOriginalBitmap_);
}

void MenuRowPainter::MakeFonts()
{
    // 9 points at the menu's DPI. Names from outside are drawn with a font
    // of no fixed character set, which the system completes from others for
    // characters the face lacks.
    const int height = -MulDiv(kMenuPointSize, geometry_.dpi, 72);
    UniqueFont plain(MakeMenuFont(height, FW_NORMAL, SHIFTJIS_CHARSET));
    UniqueFont bold(MakeMenuFont(height, FW_BOLD, SHIFTJIS_CHARSET));
    UniqueFont wide(MakeMenuFont(height, FW_NORMAL, DEFAULT_CHARSET));
    const HGDIOBJ previous = SelectObject(rowDc_.get(), plain.get());
    if (!rowDcOriginalFont_)
        rowDcOriginalFont_ = previous;
    font_ = std::move(plain);
    boldFont_ = std::move(bold);
    wideFont_ = std::move(wide);
}

void MenuRowPainter::SetGeometry(const MenuGeometry& geometry)
{
    if (geometry == geometry_)
        return;
    const bool ownWidth = width_ != geometry_.width;
    geometry_ = geometry;
    if (!ownWidth)
        width_ = geometry_.width;
    MakeFonts();
    framePen_.reset(MakeFramePen(geometry_.line, palette_.frameOutline));
    MakeBitmaps();
}

void MenuRowPainter::SetWidth(int width)
{
    if (width <= 0 || width == width_)
        return;
    width_ = width;
    MakeBitmaps();
}

void MenuRowPainter::MakeBitmaps()
{
    const int width = width_;
    const int rowHeight = geometry_.rowHeight;
    if (width <= 0 || (rowBitmap_ && width == bitmapWidth_ && rowHeight == bitmapHeight_))
        return;
    WindowDc screen(nullptr);
    UniqueBitmap fresh(CreateCompatibleBitmap(screen.get(), width, rowHeight));
    if (!fresh)
        return;
    UniqueBitmap bodies(CreateCompatibleBitmap(screen.get(), width, 2 * rowHeight));
    if (!bodies)
        return;
    HGDIOBJ previous = SelectObject(rowDc_.get(), fresh.get());
    if (!rowDcOriginalBitmap_)
        rowDcOriginalBitmap_ = previous;
    rowBitmap_ = std::move(fresh);
    bitmapWidth_ = width;
    bitmapHeight_ = rowHeight;
    previous = SelectObject(bodyDc_.get(), bodies.get());
    if (!bodyDcOriginalBitmap_)
        bodyDcOriginalBitmap_ = previous;
    bodyBitmap_ = std::move(bodies);
    FillGradient(bodyDc_.get(), true, RECT{geometry_.leftColumnRight, 0, width - 1, rowHeight}, palette_.bodyStart,
                 palette_.bodyEnd);
    FillGradient(bodyDc_.get(), true, RECT{geometry_.iconColumnRight, rowHeight, width - 1, 2 * rowHeight},
                 palette_.bodyStart, palette_.bodyEnd);
}

void MenuRowPainter::DrawBody(int left)
{
    // The gradient over (left, 0, W - 1, 20), its band on x = W - 1 included,
    // copied from the one painted for this width.
    const int width = bitmapWidth_;
    const int columns = width - left;
    if (columns <= 0)
        return;
    const int rowHeight = geometry_.rowHeight;
    if (left == geometry_.leftColumnRight || left == geometry_.iconColumnRight)
        BitBlt(rowDc_.get(), left, 0, columns, rowHeight, bodyDc_.get(), left,
               left == geometry_.leftColumnRight ? 0 : rowHeight, SRCCOPY);
    else
        FillGradient(rowDc_.get(), true, RECT{left, 0, width - 1, rowHeight}, palette_.bodyStart, palette_.bodyEnd);
}

void MenuRowPainter::DrawArrow(COLORREF colour)
{
    // A small triangle pointing right, centred on the row, near its right edge.
    const int half = geometry_.Px(4);
    const int right = bitmapWidth_ - geometry_.Px(6);
    const int middle = geometry_.rowHeight / 2;
    const POINT points[3] = {{right - half, middle - half}, {right, middle}, {right - half, middle + half}};
    UniqueBrush fill(CreateSolidBrush(colour));
    SelectGuard brush(rowDc_.get(), fill.get());
    SelectGuard pen(rowDc_.get(), GetStockObject(NULL_PEN));
    Polygon(rowDc_.get(), points, 3);
}

void MenuRowPainter::DrawScrollMark(COLORREF colour, bool up)
{
    // A small triangle at the row's middle, against the edge that hides rows.
    const int half = geometry_.Px(3);
    const int middle = bitmapWidth_ / 2;
    const int apex = up ? geometry_.Px(1) : geometry_.rowHeight - 1 - geometry_.Px(1);
    const int base = up ? apex + half : apex - half;
    const POINT points[3] = {{middle - half, base}, {middle, apex}, {middle + half, base}};
    UniqueBrush fill(CreateSolidBrush(colour));
    SelectGuard brush(rowDc_.get(), fill.get());
    SelectGuard pen(rowDc_.get(), GetStockObject(NULL_PEN));
    Polygon(rowDc_.get(), points, 3);
}

HBRUSH MenuRowPainter::BackgroundBrush()
{
    if (HighContrastOn())
        return GetSysColorBrush(COLOR_MENU);
    FollowTheme();
    return backgroundBrush_.get();
}

void MenuRowPainter::DrawCaption(const RowContent& row, int x, int y, bool clipped)
{
    HDC dc = rowDc_.get();
    const RECT clip{0, 0, clipped ? bitmapWidth_ - geometry_.Px(12) : bitmapWidth_, geometry_.rowHeight};
    const UINT options = clipped ? ETO_CLIPPED : 0;
    if (!row.wideCaption.empty())
        ExtTextOutW(dc, x, y, options, &clip, row.wideCaption.data(), static_cast<UINT>(row.wideCaption.size()),
                    nullptr);
    else
        ExtTextOutA(dc, x, y, options, &clip, row.caption.data(), static_cast<UINT>(row.caption.size()), nullptr);
}

void MenuRowPainter::PaintHighContrast(HDC target, int y, const RowContent& row, bool showIcons,
                                       const RowIconDrawer& icon)
{
    // The places of the resting row; no frame, gradient or shadow.
    const RowLook look = DescribeRow(false, showIcons, row.itemRow, geometry_);
    HDC dc = rowDc_.get();
    const RECT whole{0, 0, bitmapWidth_, geometry_.rowHeight};
    FillRect(dc, &whole, GetSysColorBrush(row.selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const COLORREF text = GetSysColor(row.greyed      ? COLOR_GRAYTEXT
                                      : row.selected ? COLOR_HIGHLIGHTTEXT
                                                     : COLOR_MENUTEXT);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    if (look.letter && !row.letter.empty())
        TextOutA(dc, geometry_.letterX, geometry_.letterY, row.letter.data(), static_cast<int>(row.letter.size()));
    if (showIcons && icon)
        icon(dc, look.iconX, look.iconY);
    HGDIOBJ font = row.bold ? boldFont_.get() : !row.wideCaption.empty() ? wideFont_.get() : nullptr;
    if (font)
        SelectObject(dc, font);
    DrawCaption(row, look.captionX, look.captionY, row.arrow);
    if (font)
        SelectObject(dc, font_.get());
    if (row.arrow)
        DrawArrow(text);
    if (row.scrollMark)
        DrawScrollMark(text, row.scrollMark < 0);
    BitBlt(target, 0, y, bitmapWidth_, geometry_.rowHeight, dc, 0, 0, SRCCOPY);
}

void MenuRowPainter::Paint(HDC target, int y, const RowContent& row, bool showIcons, const RowIconDrawer& icon)
{
    if (!rowBitmap_)
        return;
    if (HighContrastOn()) {
        PaintHighContrast(target, y, row, showIcons, icon);
        return;
    }
    FollowTheme();
    const RowLook look = DescribeRow(row.selected, showIcons, row.itemRow, geometry_, palette_);
    const int w = bitmapWidth_;
    const int rowHeight = geometry_.rowHeight;
    HDC dc = rowDc_.get();  // the plain 9-point font stays selected in it
    SetTextColor(dc, palette_.captionText);

    const RECT whole{0, 0, w, rowHeight};
    FillRect(dc, &whole, backgroundBrush_.get());
    const RECT left{0, 0, geometry_.leftColumnRight, rowHeight};
    FillRect(dc, &left, row.selected ? leftSelectedBrush_.get() : leftNormalBrush_.get());
    if (look.frame) {
        SelectGuard pen(dc, framePen_.get());
        SelectGuard brush(dc, frameFillBrush_.get());
        Rectangle(dc, geometry_.leftColumnRight, 0, w - 1, rowHeight);
    }
    if (look.iconColumn) {
        const RECT icons{geometry_.leftColumnRight, 0, geometry_.iconColumnRight, rowHeight};
        FillRect(dc, &icons, iconColumnBrush_.get());
    }
    if (look.gradientLeft >= 0)
        DrawBody(look.gradientLeft);

    SetBkMode(dc, TRANSPARENT);
    if (look.letter && !row.letter.empty()) {
        SetTextColor(dc, look.letterColour);
        TextOutA(dc, geometry_.letterX, geometry_.letterY, row.letter.data(), static_cast<int>(row.letter.size()));
    }
    if (showIcons && icon)
        icon(dc, look.iconX, look.iconY);

    // A folder row's caption stops short of its arrow.
    const auto caption = [&](int x, int yText) { DrawCaption(row, x, yText, row.arrow); };
    HGDIOBJ font = row.bold ? boldFont_.get() : !row.wideCaption.empty() ? wideFont_.get() : nullptr;
    if (font)
        SelectObject(dc, font);
    if (look.shadow) {
        SetTextColor(dc, palette_.captionShadow);
        caption(look.shadowX, look.shadowY);
    }
    const Colour colour = row.greyed ? palette_.greyedCaption : look.captionColour;
    SetTextColor(dc, colour);
    caption(look.captionX, look.captionY);
    if (font)
        SelectObject(dc, font_.get());
    if (row.arrow)
        DrawArrow(colour);
    if (row.scrollMark)
        DrawScrollMark(colour, row.scrollMark < 0);

    BitBlt(target, 0, y, w, rowHeight, dc, 0, 0, SRCCOPY);
}
