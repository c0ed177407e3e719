// Room for the texts: a font wider than the one the layout was drawn for
// (another Japanese UI font, a larger size) must not cut a label or a check
// box's caption. Controls grow into free space first; only then does the
// form open a column. With the layout's own font nothing moves.
#include <algorithm>
#include <string>

#include "controls/Form.h"
#include "controls/TextFit.h"
#include "platform/Controls.h"
#include "platform/Raii.h"

namespace {

// A check box's square and the gap before its caption, at 96 DPI, with a
// pixel for the focus frame around the caption.
constexpr int kCheckBoxExtra = 20;
// The focus frame and rounding of a label's caption.
constexpr int kLabelExtra = 2;

bool IsCheckBox(HWND control)
{
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    if (lstrcmpiA(name, "Button") != 0)
        return false;
    const auto type = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
           type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

Span SpanOf(const RECT& r) { return Span{r.left, r.right}; }

}  // namespace

int Form::TextNeed(HWND control) const
{
    const std::string text = ControlText(control);
    WindowDc dc(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    SelectGuard selected(dc.get(), font ? font : FormFont());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc.get(), text.c_str(), -1, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    return UnscaledUp(r.right - r.left, dpi_) + (IsCheckBox(control) ? kCheckBoxExtra : kLabelExtra);
}

Form::Placed* Form::PlacedOf(HWND control)
{
    const auto found = std::find_if(placed_.begin(), placed_.end(), [&](const Placed& p) { return p.control == control; });
    return found == placed_.end() ? nullptr : &*found;
}

int Form::GrowLeftToText(HWND control, int floor)
{
    Placed* p = PlacedOf(control);
    if (!p)
        return 0;
    const int need = TextNeed(control);
    const Span grown = GrownToNeed(SpanOf(p->rect), need, true, floor, 0);
    p->rect.left = grown.left;
    return Shortfall(grown, need);
}

int Form::GrowRightToText(HWND control, int ceiling)
{
    Placed* p = PlacedOf(control);
    if (!p)
        return 0;
    const int need = TextNeed(control);
    const Span grown = GrownToNeed(SpanOf(p->rect), need, false, 0, ceiling);
    p->rect.right = grown.right;
    return Shortfall(grown, need);
}

void Form::Widen(int at, int dx)
{
    if (dx <= 0)
        return;
    for (Placed& p : placed_) {
        const Span s = Widened(SpanOf(p.rect), at, dx);
        p.rect.left = s.left;
        p.rect.right = s.right;
    }
    for (Graphic& g : graphics_) {
        const Span s = Widened(SpanOf(g.rect), at, dx);
        g.rect.left = s.left;
        g.rect.right = s.right;
    }
    createdClient_.cx += dx;
}

void Form::MoveEdges(HWND control, int dLeft, int dRight)
{
    if (Placed* p = PlacedOf(control)) {
        p->rect.left += dLeft;
        p->rect.right += dRight;
    }
}

bool Form::FitText()
{
    if (fittedDpi_ == dpi_)
        return false;
    fittedDpi_ = dpi_;
    const auto before = placed_;
    const SIZE client = createdClient_;
    for (Placed& p : placed_)
        p.rect = p.design;
    for (Graphic& g : graphics_)
        g.rect = g.design;
    createdClient_ = {style_.clientWidth, style_.clientHeight};
    Guarded([&] { FormFitText(); });
    const auto moved = [&] {
        for (std::size_t i = 0; i < placed_.size(); ++i)
            if (!EqualRect(&placed_[i].rect, &before[i].rect))
                return true;
        return false;
    };
    return client.cx != createdClient_.cx || client.cy != createdClient_.cy || moved();
}
