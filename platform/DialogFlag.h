// The flag that tells the resident core a dialog or message box is open. The
// flag belongs to the core; the layers below only see it through this hook,
// so that they need not know the core.
#pragma once

// Installs the flag (null: none). The core does this once, before any window.
void InstallDialogFlag(bool* flag) noexcept;
bool DialogFlagSet() noexcept;

// Sets the flag for a scope and puts the earlier value back on every way out,
// so that a form opened from a form leaves it set for the outer one.
class DialogShownScope {
public:
    DialogShownScope() noexcept;
    ~DialogShownScope();
    DialogShownScope(const DialogShownScope&) = delete;
    DialogShownScope& operator=(const DialogShownScope&) = delete;

private:
    bool* flag_;
    bool was_;
};
