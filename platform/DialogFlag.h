// Whether a dialog or a message box of the program is open. The forms and
// message boxes below the core set it; the core reads it as one of its busy
// flags (BusyFlags.h).
#pragma once

extern bool DialogShown;

// Sets the flag for a scope and puts the earlier value back on every way out,
// so that a form opened from a form leaves it set for the outer one.
class DialogShownScope {
public:
    DialogShownScope() noexcept : was_(DialogShown) { DialogShown = true; }
    ~DialogShownScope() { DialogShown = was_; }
    DialogShownScope(const DialogShownScope&) = delete;
    DialogShownScope& operator=(const DialogShownScope&) = delete;

private:
    bool was_;
};
