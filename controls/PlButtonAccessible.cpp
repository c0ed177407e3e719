// What screen readers are told of the gradient button: a named push button
// whose default action presses it.
#include "controls/PlButton.h"

AccessibleFacts TplButton::DescribeAccessible(int) const
{
    AccessibleFacts facts;
    std::string caption = captionA_->Caption();
    if (!captionB_->Caption().empty())
        caption += (caption.empty() ? "" : " ") + captionB_->Caption();
    facts.name = CaptionName(caption);
    facts.keyboardShortcut = CaptionAccessKey(caption);
    facts.defaultAction = L"押す";
    facts.role = ROLE_SYSTEM_PUSHBUTTON;
    facts.state = STATE_SYSTEM_FOCUSABLE;
    if (Focused())
        facts.state |= STATE_SYSTEM_FOCUSED;
    if (IsDefaultButton())
        facts.state |= STATE_SYSTEM_DEFAULT;
    if (!Enabled())
        facts.state |= STATE_SYSTEM_UNAVAILABLE;
    if (pressed_)
        facts.state |= STATE_SYSTEM_PRESSED;
    if (!IsWindowVisible(Handle()))
        facts.state |= STATE_SYSTEM_INVISIBLE;
    GetWindowRect(Handle(), &facts.screen);
    return facts;
}

bool TplButton::IsDefaultButton() const
{
    // The focused button takes Enter; otherwise the form's default one does.
    if (Focused())
        return true;
    const LRESULT id = SendMessageA(GetParent(Handle()), DM_GETDEFID, 0, 0);
    return HIWORD(id) == DC_HASDEFID && LOWORD(id) == GetDlgCtrlID(Handle());
}

bool TplButton::DoAccessibleDefault(int)
{
    if (!Enabled())
        return false;
    // Posted: the click may open a dialog, and the screen reader must not
    // wait for it to close.
    return PostMessageA(Handle(), BM_CLICK, 0, 0) != 0;
}
