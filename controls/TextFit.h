// Making room for a control's text when the user's font is wider than the
// one the forms were laid out for: the arithmetic, apart from any window.
// Lengths are at 96 DPI, as the forms' layouts are given.
#pragma once

// Where a control stands across the form.
struct Span {
    int left = 0;
    int right = 0;
    int Width() const noexcept { return right - left; }
    bool operator==(const Span&) const = default;
};

// The span grown to `need`, never shrunk: a right-aligned control grows
// leftwards, never past `floor`; any other rightwards, never past `ceiling`.
Span GrownToNeed(Span span, int need, bool rightAligned, int floor, int ceiling);

// How much wider the span must still be for `need`.
int Shortfall(Span span, int need);

// A column `dx` wide opened at x `at`: what starts at or right of it moves
// right, what reaches across it grows, what ends left of it stays.
Span Widened(Span span, int at, int dx);

// Pixels at `dpi` as 96-DPI units, rounded up so that nothing is cut.
int UnscaledUp(int pixels, int dpi);
