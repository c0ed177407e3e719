// Labels drawn by the program itself: transparent over the form's own paint,
// with the disabled look, auto size, an accelerator that focuses the next
// control, and link labels with a hand cursor.
#pragma once
#include <windows.h>

enum class LabelAlign { Left, Center, Right };

struct LabelStyle {
    LabelAlign align = LabelAlign::Left;
    bool vertCenter = false;
    bool autoSize = false;   // the size follows the text
    bool enabled = true;     // disabled labels draw the grey embossed look
    bool link = false;       // hand cursor, and a click sends STN_CLICKED
    COLORREF color = 0;      // text colour
    HFONT font = nullptr;    // the label's font; the form gives its own
};

inline constexpr const char* kLabelClass = "VlcrLabel";

// A label as a child of `parent`. Its background is whatever the parent
// paints for WM_PRINTCLIENT at that place.
HWND CreateLabel(HWND parent, int id, int x, int y, int width, int height, const char* text,
                 const LabelStyle& style);

// Paints the label as it shows, into any DC (client coordinates of the label).
void PaintLabel(HWND label, HDC dc);
