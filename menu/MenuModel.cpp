#include "menu/MenuModel.h"

std::vector<MenuRow> BuildMenuRows(const std::vector<std::string>& names)
{
    std::vector<MenuRow> rows;
    rows.reserve(names.size() + 2);
    for (std::size_t i = 0; i < names.size(); ++i)
        rows.push_back({names[i], static_cast<std::int32_t>(i)});
    rows.push_back({kCancelCaption, kCancelRef});
    rows.push_back({kQuitCaption, kQuitRef});
    return rows;
}

int FindDefaultIndex(const std::vector<std::string>& targets, std::string_view dblClickCommand,
                     TextEqualFunction equalIgnoringCase)
{
    if (dblClickCommand.empty())
        return -1;
    for (std::size_t i = 0; i < targets.size(); ++i)
        if (equalIgnoringCase(targets[i], dblClickCommand))
            return static_cast<int>(i);
    return -1;
}

int MenuGeometry::Px(int length) const { return Scale(length, dpi); }

int MenuGeometry::RowsThatFit(int height) const
{
    const int rows = (height - rowsTop) / rowHeight;
    return rows > 0 ? rows : 1;
}

MenuGeometry MenuGeometryFor(int dpi, int smallIconSize)
{
    MenuGeometry g;
    g.dpi = dpi;
    g.width = Scale(kMenuWidth, dpi);
    g.rowHeight = Scale(kRowHeight, dpi);
    g.rowsTop = Scale(kRowsTop, dpi);
    g.leftColumnRight = Scale(kLeftColumnRight, dpi);
    g.iconColumnRight = Scale(kIconColumnRight, dpi);
    g.letterX = Scale(kLetterX, dpi);
    g.letterY = Scale(kLetterY, dpi);
    g.iconSize = smallIconSize;
    g.line = Scale(1, dpi);
    return g;
}

int RowAtPoint(unsigned y, int controlHeight, const MenuGeometry& geometry)
{
    if (static_cast<long long>(y) > 2LL * controlHeight)
        return -1;
    // Integer division truncates toward zero, so y 0 and 1 are row 0 too.
    return (static_cast<int>(y) - geometry.rowsTop) / geometry.rowHeight;
}

int ClampSelectedIndex(int index, int rowCount)
{
    if (index < 0)
        return -1;
    if (index > rowCount - 1)
        return rowCount - 1;
    return index;
}

int RowAbove(int selected, int rowCount) { return selected - 1 < 0 ? rowCount - 1 : selected - 1; }
int RowBelow(int selected, int rowCount) { return selected + 1 < rowCount ? selected + 1 : 0; }
bool IsItemRow(int row, int rowCount) { return row >= 0 && row < rowCount - 2; }

int RowForPageKey(PageKey key, int selected, int rowCount, int page)
{
    if (rowCount <= 0)
        return -1;
    const int step = page > 1 ? page - 1 : 1;
    int row = selected;
    switch (key) {
    case PageKey::Home: return 0;
    case PageKey::End: return rowCount - 1;
    case PageKey::PageUp: row = selected < 0 ? 0 : selected - step; break;
    case PageKey::PageDown: row = selected < 0 ? step : selected + step; break;
    }
    return row < 0 ? 0 : row >= rowCount ? rowCount - 1 : row;
}

std::optional<PageKey> PageKeyFor(unsigned virtualKey)
{
    switch (virtualKey) {
    case 0x21: return PageKey::PageUp;    // VK_PRIOR
    case 0x22: return PageKey::PageDown;  // VK_NEXT
    case 0x23: return PageKey::End;       // VK_END
    case 0x24: return PageKey::Home;      // VK_HOME
    default: return std::nullopt;
    }
}

bool PastDragThreshold(int startX, int startY, int x, int y, int threshold)
{
    const long long dx = static_cast<long long>(startX) - x;
    const long long dy = static_cast<long long>(startY) - y;
    return dx > threshold || -dx > threshold || dy > threshold || -dy > threshold;
}

int FindShortcutRow(const std::vector<MenuRow>& rows, const std::vector<std::string>& shortCuts, char typed)
{
    if (typed == '\0')
        return -1;
    const char upper = typed >= 'a' && typed <= 'z' ? static_cast<char>(typed - 'a' + 'A') : typed;
    const std::string key(1, upper);
    const int itemRows = static_cast<int>(rows.size()) - 2;
    for (int i = 0; i < itemRows; ++i) {
        const std::int32_t ref = rows[static_cast<std::size_t>(i)].Ref;
        if (ref >= 0 && static_cast<std::size_t>(ref) < shortCuts.size() &&
            shortCuts[static_cast<std::size_t>(ref)] == key)
            return i;
    }
    return -1;
}

std::optional<char> TypedBytes::Take(unsigned char byte, bool (*isLead)(unsigned char))
{
    if (trailNext_) {
        trailNext_ = false;
        return std::nullopt;
    }
    if (isLead(byte)) {
        trailNext_ = true;
        return std::nullopt;
    }
    return static_cast<char>(byte);
}

RowLook DescribeRow(bool selected, bool showIcons, bool itemRow, const MenuGeometry& g)
{
    return DescribeRow(selected, showIcons, itemRow, g, LightMenuPalette());
}

RowLook DescribeRow(bool selected, bool showIcons, bool itemRow, const MenuGeometry& g, const MenuPalette& palette)
{
    RowLook look{};
    const int captionLeft = showIcons ? g.iconColumnRight : g.Px(22);
    look.letter = itemRow;
    if (selected) {
        // The content sits 1 px up and left of its resting place, which the
        // caption's shadow marks.
        look.leftColumn = palette.leftColumnSelected;
        look.frame = true;
        look.gradientLeft = -1;
        look.letterColour = palette.letterSelected;
        look.iconX = g.Px(22);
        look.iconY = g.Px(1);
        look.captionX = captionLeft;
        look.captionY = g.Px(3);
        look.captionColour = palette.captionText;
        look.shadow = true;
        look.shadowX = look.captionX + g.Px(1);
        look.shadowY = g.Px(4);
    } else {
        look.leftColumn = palette.leftColumnNormal;
        look.iconColumn = showIcons;
        look.gradientLeft = showIcons ? g.iconColumnRight : g.leftColumnRight;
        look.letterColour = palette.letterNormal;
        look.iconX = g.Px(23);
        look.iconY = g.Px(2);
        look.captionX = captionLeft + g.Px(1);
        look.captionY = g.Px(4);
        look.captionColour = itemRow ? palette.captionText : palette.fixedRowCaption;
    }
    return look;
}
