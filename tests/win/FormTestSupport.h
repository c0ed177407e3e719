// Drives a form while its modal loop runs: each step runs from a timer, so
// the input that the previous step posted has gone through the form's own
// loop (key preview, dialog manager) before the next step looks.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/Form.h"

// Calls `onShown` with each form of this thread as it comes on screen (its
// ShowWindow, before its modal loop runs), for as long as it lives. Watched
// from outside the form: a hook on the messages sent to the thread's windows.
class FormWatch {
public:
    explicit FormWatch(std::function<void(Form&)> onShown);
    ~FormWatch();
    FormWatch(const FormWatch&) = delete;
    FormWatch& operator=(const FormWatch&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    std::function<void(Form&)> onShown_;
};

class FormDriver {
public:
    using Step = std::function<void(Form&)>;
    // The steps start when the next form comes on screen; each gets the form
    // shown last. A form still open after `timeoutMs` is closed with mrCancel
    // and the driver reports the time-out.
    explicit FormDriver(std::vector<Step> steps, DWORD timeoutMs = 15000);
    ~FormDriver();
    FormDriver(const FormDriver&) = delete;
    FormDriver& operator=(const FormDriver&) = delete;

    std::size_t StepsRun() const { return next_; }
    bool TimedOut() const { return timedOut_; }
    const std::vector<Form*>& Shown() const { return shown_; }  // in order of showing

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM) noexcept;
    void Shown(Form& form);
    void RunNext();

    std::vector<Step> steps_;
    std::vector<Form*> shown_;
    std::size_t next_ = 0;
    bool timedOut_ = false;
    DWORD timeoutMs_;
    HWND window_ = nullptr;
    FormWatch watch_{[this](Form& form) { Shown(form); }};
};

// Input posted to a control as the keyboard would send it.
void PostKey(HWND target, WPARAM key);                // key down and up
void PostChar(HWND target, wchar_t character);        // WM_CHAR only
void PostAltKey(HWND target, char letter);            // Alt+letter, a mnemonic
void ClickAt(HWND control, int x, int y);             // left down and up, client coordinates
HWND FocusedControl();
// Client rectangle of a child in its parent's client coordinates.
RECT ChildRect(HWND child);
// Checks a child's place and size in its parent's client coordinates.
void CheckChildRect(HWND child, int x, int y, int width, int height);
// Every child of the form given a font of this face and pixel height (the
// form does not own it; it lives as long as the test program).
void GiveFont(HWND form, const char* face, int height);
// The width of a control's caption in its own font, access keys left out.
int CaptionWidth(HWND control);
