// Where the form's controls stand: their rectangles at 96 DPI, scaled to
// the form's DPI, following the anchors when the form is sized, and where the
// form itself opens.
#include "controls/Form.h"

#include "platform/Dpi.h"
#include "platform/WindowHelpers.h"

void Form::ApplyClientSize()
{
    RECT r{0, 0, Px(createdClient_.cx), Px(createdClient_.cy)};
    AdjustWindowRectForDpi(r, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), GetMenu(Handle()) != nullptr,
                           static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)), dpi_);
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Place(HWND control, int x, int y, int width, int height, bool autoSize)
{
    const RECT r{x, y, x + width, y + height};
    placed_.push_back({control, r, 0, autoSize, r});
}

void Form::PlaceControls()
{
    // A label that sizes itself to its text has done so already: it only moves.
    for (const Placed& p : placed_) {
        const RECT r = ScaledRect(p.rect);
        SetWindowPos(p.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (p.autoSize ? SWP_NOSIZE : 0));
    }
}

void Form::SetAnchors(HWND control, unsigned anchors)
{
    for (Placed& p : placed_)
        if (p.control == control)
            p.anchors = anchors;
}

RECT Form::ScaledRect(const RECT& r) const { return RECT{Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }

void Form::PlaceOnScreen(HWND owner)
{
    // Centred on the monitor the user is working on: that of the window
    // active in the program (the launch menu, an outer form), else the
    // pointer's.
    const HWND active = GetActiveWindow();
    RECT area = (active && active != Handle() && IsWindowVisible(active) ? MonitorAreaOf(active)
                                                                          : MonitorAreaAtPointer())
                    .monitor;
    if (style_.position == FormPosition::OwnerFormCenter && owner && IsWindowVisible(owner))
        GetWindowRect(owner, &area);
    CentreIn(area);
    placedOver_ = owner;
    centredByProgram_ = true;
}

void Form::CentreIn(const RECT& area)
{
    RECT frame;
    GetWindowRect(Handle(), &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CentreAgainAfterDpiChange(const RECT& suggested)
{
    // A form the program centred, moved to a monitor of another DPI by the
    // system (not dragged there by the user), is centred again at its new
    // size: grown from its corner it would end off-centre, a tall one past
    // the bottom.
    if (!centredByProgram_)
        return;
    RECT area{};
    if (style_.position == FormPosition::OwnerFormCenter && placedOver_ && IsWindowVisible(placedOver_))
        GetWindowRect(placedOver_, &area);
    else
        area = MonitorAreaAt(POINT{suggested.left + (suggested.right - suggested.left) / 2,
                                   suggested.top + (suggested.bottom - suggested.top) / 2})
                   .monitor;
    CentreIn(area);
}

void Form::OnSize()
{
    RECT client;
    GetClientRect(Handle(), &client);
    if (client.right == 0 && client.bottom == 0)
        return;  // minimised
    const int dw = client.right - Px(createdClient_.cx);
    const int dh = client.bottom - Px(createdClient_.cy);
    for (const Placed& a : placed_) {
        if (!a.anchors)
            continue;
        RECT r = ScaledRect(a.rect);
        if (a.anchors & akRight) {
            if (a.anchors & akLeft)
                r.right += dw;
            else
                OffsetRect(&r, dw, 0);
        }
        if (a.anchors & akBottom) {
            if (a.anchors & akTop)
                r.bottom += dh;
            else
                OffsetRect(&r, 0, dh);
        }
        SetWindowPos(a.control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FormResize();
}
