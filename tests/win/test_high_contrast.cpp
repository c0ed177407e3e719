#include <doctest/doctest.h>
#include <windows.h>

#include <optional>

#include "controls/PlButton.h"
#include "core/CommandWindow.h"
#include "menu/LaunchMenu.h"
#include "menu/LaunchMenuWindow.h"
#include "platform/HighContrast.h"
#include "platform/Seams.h"
#include "tests/win/MenuTestSupport.h"

namespace {

// A dark theme of the test's own, put back however the test ends; the
// system's high-contrast flag stood in for, since Wine cannot set it.
class DarkTheme {
public:
    DarkTheme()
    {
        seam_.emplace(HighContrastQuery, [] { return true; });
        for (int i = 0; i < kCount; ++i)
            saved_[i] = GetSysColor(kIndices[i]);
        SetSysColors(kCount, kIndices, kColours);
        RefreshHighContrast();
    }
    ~DarkTheme()
    {
        SetSysColors(kCount, kIndices, saved_);
        seam_.reset();
        RefreshHighContrast();
    }
    DarkTheme(const DarkTheme&) = delete;
    DarkTheme& operator=(const DarkTheme&) = delete;

    static constexpr COLORREF kMenu = RGB(0, 0, 0), kMenuText = RGB(255, 255, 255);
    static constexpr COLORREF kHighlight = RGB(26, 235, 255), kHighlightText = RGB(0, 0, 0);
    static constexpr COLORREF kFace = RGB(0, 0, 0), kButtonText = RGB(255, 255, 0);

private:
    static constexpr int kCount = 6;
    static constexpr INT kIndices[kCount] = {COLOR_MENU,    COLOR_MENUTEXT, COLOR_HIGHLIGHT,
                                            COLOR_HIGHLIGHTTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
    static constexpr COLORREF kColours[kCount] = {kMenu, kMenuText, kHighlight, kHighlightText, kFace, kButtonText};
    COLORREF saved_[kCount] = {};
    std::optional<SeamOverride<HighContrastFunction>> seam_;
};

int Count(const PixelCanvas& canvas, RECT r, COLORREF colour) { return canvas.count(r, colour); }

}  // namespace

TEST_CASE("high contrast: the menu and a gradient button are drawn flat in the system's colours")
{
    MenuFixture f;
    f.Create(NumberedItems(2));
    DarkTheme dark;
    REQUIRE(HighContrastOn());
    Canvas canvas(kMenuWidth, ControlHeight(4));
    PrintClient(f.Control(), canvas);
    // Row 0 is selected: the highlight, its caption in the highlight's text
    // colour; row 1 the menu's colours; no gradient, no pastel column.
    const RECT row0{0, RowTop(0), kMenuWidth, RowTop(1)};
    const RECT row1{0, RowTop(1), kMenuWidth, RowTop(2)};
    CHECK(canvas.at(2, RowTop(0) + 1) == DarkTheme::kHighlight);
    CHECK(canvas.at(kMenuWidth - 2, RowTop(0) + 1) == DarkTheme::kHighlight);
    CHECK(Count(canvas, row0, DarkTheme::kHighlightText) > 20);
    CHECK(canvas.at(2, RowTop(1) + 1) == DarkTheme::kMenu);
    CHECK(canvas.at(kMenuWidth - 2, RowTop(1) + 1) == DarkTheme::kMenu);
    CHECK(Count(canvas, row1, DarkTheme::kMenuText) > 20);
    CHECK(Count(canvas, row1, kBodyGradientEnd) == 0);
    CHECK(Count(canvas, row1, kLeftColumnNormal) == 0);

    // A button as the dialogs have it: white to green, unless high contrast.
    TplButton button;
    button.Create(CommandWindow, 1, 0, 0, 121, 22, "plButton1");
    button.SetGradEndColor(0x00ACD5D0);
    button.CaptionA().SetCaption("キャンセル");
    PixelCanvas face(121, 22, 0x00FF00FF);
    SendMessageA(button.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(face.dc()), PRF_CLIENT);
    CHECK(face.at(60, 3) == DarkTheme::kFace);
    CHECK(face.at(60, 18) == DarkTheme::kFace);
    CHECK(Count(face, RECT{0, 0, 121, 22}, DarkTheme::kButtonText) > 20);
    CHECK(Count(face, RECT{3, 3, 118, 19}, RGB(255, 255, 255)) == 0);  // no white top of a gradient
}
