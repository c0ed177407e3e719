#include "core/store/LaunchEncoding.h"

#include <algorithm>

namespace {

// The length of the well-formed sequence at `at`, or 0.
std::size_t SequenceLength(std::string_view s, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > s.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

// The item whose record holds the line, 1-based; 0 for the lines before the
// first record (the magic line, the double-click command).
std::size_t ItemOfLine(std::size_t line, bool versioned)
{
    const std::size_t first = versioned ? 2 : 1;
    const std::size_t recordSize = versioned ? 5 : 4;
    return line < first ? 0 : (line - first) / recordSize + 1;
}

void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUnit(std::string& out, std::uint32_t unit, bool bigEndian)
{
    const auto high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

}  // namespace

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]), b = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t c = unit(i);
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;  // a trailing half alone
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= units || unit(i + 1) < 0xDC00 || unit(i + 1) > 0xDFFF)
                return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian)
{
    std::string out;
    out.reserve(utf8.size() * 2);
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = std::max<std::size_t>(SequenceLength(utf8, at), 1);
        const auto byte = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[at + i]));
        };
        std::uint32_t c = byte(0);
        if (length == 2)
            c = ((c & 0x1F) << 6) | (byte(1) & 0x3F);
        else if (length == 3)
            c = ((c & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        else if (length == 4)
            c = ((c & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
        if (c >= 0x10000) {
            AppendUnit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
            AppendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
        } else {
            AppendUnit(out, c, bigEndian);
        }
        at += length;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

LaunchEncoding DetectLaunchEncoding(std::string_view bytes)
{
    if (bytes.substr(0, kUtf16LeBom.size()) == kUtf16LeBom)
        return LaunchEncoding::Utf16Le;
    if (bytes.substr(0, kUtf16BeBom.size()) == kUtf16BeBom)
        return LaunchEncoding::Utf16Be;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        return LaunchEncoding::Utf8WithBom;
    const bool multiByte = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    return multiByte && IsValidUtf8(bytes) ? LaunchEncoding::Utf8 : LaunchEncoding::Cp932;
}

DecodedLaunchFile DecodeLaunchFile(std::string_view bytes, ToCp932Function toCp932)
{
    DecodedLaunchFile decoded;
    decoded.Encoding = DetectLaunchEncoding(bytes);
    if (decoded.Encoding == LaunchEncoding::Cp932) {
        decoded.Parsed = ParseLaunchFile(bytes);
        return decoded;
    }
    if (decoded.Encoding == LaunchEncoding::Utf8WithBom)
        bytes.remove_prefix(kUtf8Bom.size());
    // UTF-16 goes through UTF-8, whose lines then convert as any UTF-8 file's.
    std::optional<std::string> wide;
    if (decoded.Encoding == LaunchEncoding::Utf16Le || decoded.Encoding == LaunchEncoding::Utf16Be) {
        wide = Utf16ToUtf8(bytes.substr(kUtf16LeBom.size()), decoded.Encoding == LaunchEncoding::Utf16Be);
        if (!wide) {
            decoded.Undecodable = true;
            return decoded;
        }
        bytes = *wide;
    }
    std::vector<std::string> lines = SplitLaunchLines(bytes);
    const bool versioned = !lines.empty() && lines[0] == kLaunchListMagic;
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const std::optional<std::string> line = toCp932(lines[i])) {
            text += *line;
        } else {
            const std::size_t item = ItemOfLine(i, versioned);
            if (decoded.LostItems.empty() || decoded.LostItems.back() != item) {
                decoded.LostItems.push_back(item);
                decoded.LostLines.push_back(i + 1);
            }
        }
        text += "\r\n";
    }
    decoded.Parsed = ParseLaunchFile(text);
    // Whole items go, never a field of one: an item with its target emptied
    // would open something else.
    std::vector<LaunchItem>& items = decoded.Parsed.Items;
    for (auto lost = decoded.LostItems.rbegin(); lost != decoded.LostItems.rend(); ++lost)
        if (*lost > 0 && *lost <= items.size())
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(*lost - 1));
    return decoded;
}

std::string EncodeLaunchFile(std::string_view cp932, LaunchEncoding encoding, ToUtf8Function toUtf8)
{
    if (encoding == LaunchEncoding::Cp932)
        return std::string(cp932);
    if (encoding == LaunchEncoding::Utf16Le)
        return std::string(kUtf16LeBom) + Utf8ToUtf16(toUtf8(cp932), false);
    if (encoding == LaunchEncoding::Utf16Be)
        return std::string(kUtf16BeBom) + Utf8ToUtf16(toUtf8(cp932), true);
    std::string out = encoding == LaunchEncoding::Utf8WithBom ? std::string(kUtf8Bom) : std::string();
    return out + toUtf8(cp932);
}
