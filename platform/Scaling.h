// Display scaling. Every length of the program's layouts is given for 96 DPI
// (100 %); at another DPI it becomes Scale(length, dpi). A run of equal cells
// (menu rows, strip cells) scales its one cell and repeats it, so that the
// cells stay equal and meet without gaps.
#pragma once

inline constexpr int kBaseDpi = 96;

// length * dpi / 96, halves rounded away from zero, as MulDiv rounds.
constexpr int Scale(int length, int dpi)
{
    const long long product = static_cast<long long>(length) * dpi;
    const long long half = kBaseDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
}

// The 96-DPI length that scales to `pixels` at `dpi` (or the nearest one).
constexpr int Unscale(int pixels, int dpi)
{
    if (dpi <= 0)
        return pixels;
    const long long product = static_cast<long long>(pixels) * kBaseDpi;
    const long long half = dpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / dpi : -((-product + half) / dpi));
}
