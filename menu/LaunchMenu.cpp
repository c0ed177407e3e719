#include "menu/LaunchMenu.h"

#include <imm.h>

#include <string>

#include "core/LaunchFile.h"
#include "core/LaunchList.h"
#include "menu/IconStrip.h"
#include "platform/Dpi.h"
#include "platform/WindowHelpers.h"

std::unique_ptr<TvlcrLaunchMenu> LaunchMenu;

namespace {

// The Japanese captions need a face with Shift-JIS glyphs.
constexpr const char* kMenuFace = "MS UI Gothic";
constexpr int kMenuPointSize = 9;

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    // Locale-aware: a byte-wise fold would also fold the trail bytes of
    // double-byte characters, which overlap the ASCII letters.
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

HFONT MakeMenuFont(int height, int weight)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(lf.lfFaceName, kMenuFace, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

// A frame wider than a pixel is drawn inside the row, as the one-pixel one is.
HPEN MakeFramePen(int width)
{
    return CreatePen(width > 1 ? PS_INSIDEFRAME : PS_SOLID, width, kFrameOutline);
}

void TextAt(HDC dc, int x, int y, const std::string& text)
{
    TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

const std::string* ShortCutOf(std::int32_t ref)
{
    if (ref < 0 || !LaunchListsPresent() || ref >= LaunchItemCount())
        return nullptr;
    return &LaunchLists->ShortCutList[static_cast<std::size_t>(ref)];
}

}  // namespace

// While rows are painted in a batch the strip stays selected in one DC,
// instead of one DC per icon. It is released at once after: the strip may be
// replaced, and a selected bitmap cannot be deleted.
class TvlcrLaunchMenu::StripPass {
public:
    explicit StripPass(TvlcrLaunchMenu& menu) : menu_(menu)
    {
        if (!IconStrip || !menu.showIcons_ || menu.stripDc_)
            return;
        dc_.reset(CreateCompatibleDC(menu.rowDc_.get()));
        old_ = SelectObject(dc_.get(), IconStrip);
        menu.stripDc_ = dc_.get();
    }
    ~StripPass()
    {
        if (!dc_)
            return;
        SelectObject(dc_.get(), old_);
        menu_.stripDc_ = nullptr;
    }
    StripPass(const StripPass&) = delete;
    StripPass& operator=(const StripPass&) = delete;

private:
    TvlcrLaunchMenu& menu_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

TvlcrLaunchMenu::TvlcrLaunchMenu(HWND parent)
{
    const int dpi = WindowDpi(parent);
    geometry_ = MenuGeometryFor(dpi, SmallIconSize(dpi));
    {
        WindowDc screen(nullptr);
        rowDc_.reset(CreateCompatibleDC(screen.get()));
        bodyDc_.reset(CreateCompatibleDC(screen.get()));
    }
    MakeFonts();
    backgroundBrush_.reset(CreateSolidBrush(kRowBackground));
    leftNormalBrush_.reset(CreateSolidBrush(kLeftColumnNormal));
    leftSelectedBrush_.reset(CreateSolidBrush(kLeftColumnSelected));
    iconColumnBrush_.reset(CreateSolidBrush(kIconColumnNormal));
    frameFillBrush_.reset(CreateSolidBrush(kFrameFill));
    framePen_.reset(MakeFramePen(geometry_.line));
    SetRowBitmapWidth(geometry_.width);
    Create({.name = kLaunchMenuClass}, 0, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0,
           -geometry_.rowsTop, geometry_.width, geometry_.ControlHeight(0), parent, nullptr);
    // Shortcut letters must reach the menu even while the user's input
    // method is on.
    ImmAssociateContext(Handle(), nullptr);
}

TvlcrLaunchMenu::~TvlcrLaunchMenu()
{
    if (dragging_)
        EndDrag();
    DestroyHandle();  // its timer goes with it
    // Bitmaps and fonts cannot be deleted while they are selected.
    if (rowDc_ && rowDcOriginalBitmap_)
        SelectObject(rowDc_.get(), rowDcOriginalBitmap_);
    if (rowDc_ && rowDcOriginalFont_)
        SelectObject(rowDc_.get(), rowDcOriginalFont_);
    if (bodyDc_ && bodyDcOriginalBitmap_)
        SelectObject(bodyDc_.get(), bodyDcOriginalBitmap_);
}

LRESULT TvlcrLaunchMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const unsigned x = LOWORD(lParam);
    const unsigned y = HIWORD(lParam);
    if (const auto painted = PaintMessage(message, wParam))
        return *painted;
    switch (message) {
    case WM_SIZE:
        Default(message, wParam, lParam);
        Resize();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        KeyDown(wParam);
        return 0;  // nothing else acts on the key
    case WM_CHAR:
        if (wParam <= 0xFF)  // a pair packed in one message is no letter
            KeyPress(static_cast<char>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        HandleMouseMove(x, y, (wParam & MK_LBUTTON) != 0);
        break;
    case WM_LBUTTONDOWN:
        HandleMouseDown(x, y);
        SetCapture(Handle());  // moves and the release arrive even outside
        break;
    case WM_LBUTTONUP:
        // The capture goes first: a modal box that the release may open must
        // get the mouse.
        releasingCapture_ = true;
        if (GetCapture() == Handle())
            ReleaseCapture();
        releasingCapture_ = false;
        HandleMouseUp(x, y, (wParam & MK_RBUTTON) != 0,
                      (wParam & (MK_CONTROL | MK_SHIFT)) == (MK_CONTROL | MK_SHIFT));
        break;
    case WM_MOUSEWHEEL:
        HandleWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_TIMER:
        HandleEdgeTimer();
        return 0;
    case WM_RBUTTONUP:
        if (!(wParam & MK_LBUTTON))
            OpenCommandMenu();
        break;
    case WM_CAPTURECHANGED:
        if (!releasingCapture_ && dragging_)
            CancelDrag();
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

int TvlcrLaunchMenu::Width() const
{
    RECT r{};
    if (Handle())
        GetClientRect(Handle(), &r);
    return r.right;
}

int TvlcrLaunchMenu::Height() const
{
    RECT r{};
    if (Handle())
        GetClientRect(Handle(), &r);
    return r.bottom;
}

void TvlcrLaunchMenu::MakeFonts()
{
    // 9 points at the menu's DPI.
    const int height = -MulDiv(kMenuPointSize, geometry_.dpi, 72);
    UniqueFont plain(MakeMenuFont(height, FW_NORMAL));
    UniqueFont bold(MakeMenuFont(height, FW_BOLD));
    const HGDIOBJ previous = SelectObject(rowDc_.get(), plain.get());
    if (!rowDcOriginalFont_)
        rowDcOriginalFont_ = previous;
    font_ = std::move(plain);
    boldFont_ = std::move(bold);
}

void TvlcrLaunchMenu::SetGeometry(const MenuGeometry& geometry)
{
    if (geometry == geometry_)
        return;
    geometry_ = geometry;
    MakeFonts();
    framePen_.reset(MakeFramePen(geometry_.line));
    SetRowBitmapWidth(geometry_.width);
}

void TvlcrLaunchMenu::SetRowBitmapWidth(int width)
{
    if (width <= 0 || (rowBitmap_ && width == rowBitmapWidth_ && rowBitmapHeight_ == geometry_.rowHeight))
        return;
    const int rowHeight = geometry_.rowHeight;
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
    rowBitmapWidth_ = width;
    rowBitmapHeight_ = rowHeight;
    previous = SelectObject(bodyDc_.get(), bodies.get());
    if (!bodyDcOriginalBitmap_)
        bodyDcOriginalBitmap_ = previous;
    bodyBitmap_ = std::move(bodies);
    FillGradient(bodyDc_.get(), true, RECT{geometry_.leftColumnRight, 0, width - 1, rowHeight}, kBodyGradientStart,
                 kBodyGradientEnd);
    FillGradient(bodyDc_.get(), true, RECT{geometry_.iconColumnRight, rowHeight, width - 1, 2 * rowHeight},
                 kBodyGradientStart, kBodyGradientEnd);
}

void TvlcrLaunchMenu::DrawBody(int left, int width)
{
    // The gradient over (left, 0, W - 1, 20), its band on x = W - 1 included,
    // copied from the one painted for this width.
    const int columns = width - left;
    if (columns <= 0)
        return;
    const int rowHeight = geometry_.rowHeight;
    if (left == geometry_.leftColumnRight || left == geometry_.iconColumnRight)
        BitBlt(rowDc_.get(), left, 0, columns, rowHeight, bodyDc_.get(), left,
               left == geometry_.leftColumnRight ? 0 : rowHeight, SRCCOPY);
    else
        FillGradient(rowDc_.get(), true, RECT{left, 0, width - 1, rowHeight}, kBodyGradientStart, kBodyGradientEnd);
}

void TvlcrLaunchMenu::Resize()
{
    if (Width() <= 0)
        return;
    SetRowBitmapWidth(Width());
    // A hidden control shows nothing; it is painted in full when exposed.
    if (IsWindowVisible(Handle()))
        DrawAllRows();
}

void TvlcrLaunchMenu::RebuildItems()
{
    // The rows always show what Launch.ini holds now.
    if (!LaunchListsPresent())
        CreateLaunchLists();
    LoadLaunchList();
    items_ = BuildMenuRows(LaunchLists->NameList);
    defaultIndex_ = FindDefaultIndex(LaunchLists->TargetList, DblClickCommand, SameTextIgnoringCase);
    SetFirstRow(firstRow_);
}

int TvlcrLaunchMenu::VisibleRows() const noexcept
{
    return visibleLimit_ > 0 && visibleLimit_ < RowCount() ? visibleLimit_ : RowCount();
}

void TvlcrLaunchMenu::LimitVisibleRows(int rows)
{
    visibleLimit_ = rows > 0 ? rows : 0;
    SetFirstRow(firstRow_);
}

bool TvlcrLaunchMenu::RowShown(int index) const noexcept
{
    return index >= firstRow_ && index < firstRow_ + VisibleRows();
}

void TvlcrLaunchMenu::SetFirstRow(int row)
{
    const int last = RowCount() - VisibleRows();
    firstRow_ = row < 0 ? 0 : row > last ? last : row;
}

bool TvlcrLaunchMenu::ScrollIntoView(int row)
{
    if (row < 0 || row >= RowCount() || RowShown(row))
        return false;
    const int before = firstRow_;
    SetFirstRow(row < firstRow_ ? row : row - VisibleRows() + 1);
    if (firstRow_ == before)
        return false;
    if (Handle() && IsWindowVisible(Handle()))
        DrawAllRows();
    return true;
}

void TvlcrLaunchMenu::ScrollBy(int rows)
{
    const int before = firstRow_;
    SetFirstRow(firstRow_ + rows);
    if (firstRow_ != before && Handle() && IsWindowVisible(Handle()))
        DrawAllRows();
}

void TvlcrLaunchMenu::SetSelectedIndex(int index)
{
    const int old = selectedIndex_;
    selectedIndex_ = ClampSelectedIndex(index, RowCount());
    if (old != selectedIndex_ && ScrollIntoView(selectedIndex_))
        return;  // every row shown is drawn anew
    if (Handle() && IsWindowVisible(Handle()) && old != selectedIndex_) {
        WindowDc dc(Handle());
        StripPass icons(*this);
        DrawRowTo(dc.get(), old);
        DrawRowTo(dc.get(), selectedIndex_);
    }
}

void TvlcrLaunchMenu::SetShowIcons(bool show) noexcept
{
    if (showIcons_ != show)
        showIcons_ = show;
}

void TvlcrLaunchMenu::DrawRow(int index)
{
    if (!Handle() || !RowShown(index))
        return;
    WindowDc dc(Handle());
    DrawRowTo(dc.get(), index);
}

void TvlcrLaunchMenu::DrawAllRows()
{
    if (!Handle())
        return;
    WindowDc dc(Handle());
    StripPass icons(*this);
    for (int i = firstRow_; i < firstRow_ + VisibleRows(); ++i) {
        // Rows that the DC clips away entirely (off screen, hidden) are not
        // rendered: they would show nothing.
        const int top = geometry_.RowTop(i - firstRow_);
        const RECT r{0, top, rowBitmapWidth_, top + geometry_.rowHeight};
        if (RectVisible(dc.get(), &r))
            DrawRowTo(dc.get(), i);
    }
}

void TvlcrLaunchMenu::PaintContent(HDC dc)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    // The two pixels above row 0 and anything below the last row keep the
    // white background.
    const RECT above{0, 0, client.right, geometry_.rowsTop};
    FillRect(dc, &above, backgroundBrush_.get());
    const RECT below{0, geometry_.RowTop(VisibleRows()), client.right, client.bottom};
    if (below.bottom > below.top)
        FillRect(dc, &below, backgroundBrush_.get());
    StripPass icons(*this);
    for (int i = firstRow_; i < firstRow_ + VisibleRows(); ++i) {
        const int top = geometry_.RowTop(i - firstRow_);
        const RECT r{0, top, client.right, top + geometry_.rowHeight};
        if (RectVisible(dc, &r))
            DrawRowTo(dc, i);
    }
}

void TvlcrLaunchMenu::DrawRowTo(HDC target, int index)
{
    if (!RowShown(index) || !rowBitmap_)
        return;
    const MenuRow& row = items_[static_cast<std::size_t>(index)];
    const RowLook look = DescribeRow(index == selectedIndex_, showIcons_, row.Ref >= 0, geometry_);
    const int w = rowBitmapWidth_;
    const int rowHeight = geometry_.rowHeight;
    HDC dc = rowDc_.get();  // the plain 9-point font stays selected in it
    SetTextColor(dc, kCaptionText);

    const RECT whole{0, 0, w, rowHeight};
    FillRect(dc, &whole, backgroundBrush_.get());
    const RECT left{0, 0, geometry_.leftColumnRight, rowHeight};
    FillRect(dc, &left, look.leftColumn == kLeftColumnSelected ? leftSelectedBrush_.get() : leftNormalBrush_.get());
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
        DrawBody(look.gradientLeft, w);

    SetBkMode(dc, TRANSPARENT);
    if (look.letter) {
        const std::string* key = ShortCutOf(row.Ref);
        if (key && *key != NoShortCut) {
            SetTextColor(dc, look.letterColour);
            TextAt(dc, geometry_.letterX, geometry_.letterY, *key);
        }
    }
    if (showIcons_)
        DrawRowIcon(index, look.iconX, look.iconY);

    const bool bold = index == defaultIndex_;
    if (bold)
        SelectObject(dc, boldFont_.get());
    if (look.shadow) {
        SetTextColor(dc, kCaptionShadow);
        TextAt(dc, look.shadowX, look.shadowY, row.Caption);
    }
    SetTextColor(dc, look.captionColour);
    TextAt(dc, look.captionX, look.captionY, row.Caption);
    if (bold)
        SelectObject(dc, font_.get());

    BitBlt(target, 0, geometry_.RowTop(index - firstRow_), w, rowHeight, dc, 0, 0, SRCCOPY);
}

void TvlcrLaunchMenu::DrawRowIcon(int index, int x, int y)
{
    if (!IconStrip)
        return;
    StripPass icons(*this);
    if (!stripDc_)
        return;
    const int size = geometry_.iconSize;
    if (IconCellSize != size)
        return;  // a strip of another DPI until it is built anew
    const int cell = size * index;
    // The mask punches the icon's shape out, the image fills it in: the
    // surroundings stay as the row shows them.
    BitBlt(rowDc_.get(), x, y, size, size, stripDc_, cell, size, SRCAND);
    BitBlt(rowDc_.get(), x, y, size, size, stripDc_, cell, 0, SRCPAINT);
}

void TvlcrLaunchMenu::Tell(LaunchMenuCode code, int row, int target, bool handBack, bool elevated)
{
    LaunchMenuNotice notice;
    notice.header = NMHDR{Handle(), 0, code};
    notice.row = row;
    notice.target = target;
    notice.handBack = handBack;
    notice.elevated = elevated;
    SendMessageA(GetParent(Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
}

void TvlcrLaunchMenu::OpenCommandMenu() { Tell(kLmnCommandMenu, selectedIndex_); }

void FocusLaunchMenu()
{
    if (LaunchMenu && LaunchMenu->Handle())
        SetFocus(LaunchMenu->Handle());
}
