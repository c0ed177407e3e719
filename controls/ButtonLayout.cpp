#include "controls/ButtonLayout.h"

// C++ division truncates toward zero, as the placement requires.

CaptionTops PlaceCaptionLines(const CaptionLines& lines)
{
    CaptionTops tops;
    tops.captionTop = lines.captionTop;
    const int h = lines.heightA;
    if (lines.vertCenter) {
        if (!lines.emptyB)
            tops.first = (lines.height - 2 * h - lines.lineSpace) / 2;
        else
            tops.first = (lines.height - h) / 2 + 1;
        tops.captionTop = tops.first;
        if (!lines.emptyA) {
            tops.second = tops.first + h + lines.lineSpace;
        } else {
            // A second line alone is centred on its own, without the one
            // pixel a first line gets.
            tops.second = (lines.height - lines.heightB) / 2;
            tops.captionTop = tops.second;
        }
    } else {
        tops.first = lines.captionTop;
        tops.second = lines.captionTop + (lines.emptyA ? 0 : h + lines.lineSpace);
    }
    return tops;
}

CaptionOrigin PlaceCaption(TplBtnAlignment alignment, int characters, int width, int left, int right)
{
    CaptionOrigin origin;
    origin.alignment = alignment == TplBtnAlignment::taEven && characters == 1 ? TplBtnAlignment::taCenter : alignment;
    switch (origin.alignment) {
    case TplBtnAlignment::taLeft:
        origin.anchor = TextAnchor::Left;
        origin.x = left + 2;
        break;
    case TplBtnAlignment::taRight:
        origin.anchor = TextAnchor::Right;
        origin.x = width - right - 2;
        break;
    case TplBtnAlignment::taCenter:
        origin.anchor = TextAnchor::Center;
        origin.x = width / 2;
        break;
    case TplBtnAlignment::taEven:
        origin.anchor = TextAnchor::Left;
        origin.x = left + 2;
        origin.available = width - left - right - 4;
        break;
    }
    return origin;
}

EvenSpacing SpreadEvenly(int available, int textWidth, int characters)
{
    if (characters < 2)
        return {};
    const int spare = available - textWidth;
    return {spare / (characters - 1), spare % (characters - 1)};
}

std::vector<int> EvenCharacterPositions(int x, const std::vector<int>& characterWidths, EvenSpacing spacing)
{
    std::vector<int> positions;
    positions.reserve(characterWidths.size());
    int rest = spacing.rest;
    for (const int w : characterWidths) {
        positions.push_back(x);
        x += w + spacing.gap;
        if (rest > 0) {
            ++x;
            --rest;
        } else if (rest < 0) {
            --x;
            ++rest;
        }
    }
    return positions;
}

ButtonColour GradientRowColour(ButtonColour begin, ButtonColour end, int y, int height)
{
    if (height <= 1)
        return begin & 0x00FFFFFF;
    ButtonColour out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int b = static_cast<int>((begin >> shift) & 0xFF);
        const int e = static_cast<int>((end >> shift) & 0xFF);
        const int channel = b + (e - b) * y / (height - 1);
        out |= static_cast<ButtonColour>(channel & 0xFF) << shift;
    }
    return out;
}

std::vector<ButtonColour> GradientRows(ButtonColour begin, ButtonColour end, int height)
{
    std::vector<ButtonColour> rows;
    if (height <= 0)
        return rows;
    rows.reserve(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows.push_back(GradientRowColour(begin, end, y, height));
    return rows;
}
