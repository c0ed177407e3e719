#include "platform/CodePage.h"

#include <windows.h>

#include "platform/Seams.h"

namespace {

std::wstring Widen(std::string_view text, UINT codePage, DWORD flags, bool& ok)
{
    ok = true;
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (n <= 0) {
        ok = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), n);
    return wide;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8)
{
    bool ok = false;
    const std::wstring wide = Widen(utf8, CP_UTF8, MB_ERR_INVALID_CHARS, ok);
    if (!ok)
        return std::nullopt;
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL substituted = FALSE;
    const int n = WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &substituted);
    if (n <= 0 || substituted)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kJapaneseCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n, nullptr,
                        &substituted);
    // Exact means the same characters again on the way back.
    bool back = false;
    if (substituted || Widen(out, kJapaneseCodePage, MB_ERR_INVALID_CHARS, back) != wide || !back)
        return std::nullopt;
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932)
{
    bool ok = false;
    const std::wstring wide = Widen(cp932, kJapaneseCodePage, 0, ok);
    if (wide.empty())
        return std::string();
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

bool RequireJapaneseCodePage()
{
    if (AnsiCodePage() == kJapaneseCodePage)
        return true;
    // Wide text: it reads right whatever the code page is.
    ShowWideMessageBox(
        nullptr,
        L"迅 -velocara- は日本語の文字コード (コードページ 932) で動作するプログラムです。"
        L"いまの設定ではメニューやメッセージの文字が正しく表示されないため、起動を中止しました。\r\n\r\n"
        L"Windows 11 では自動的にコードページ 932 で動作します。Windows 10 では、[設定] → [時刻と言語] → "
        L"[言語] → [管理用の言語の設定] → [システム ロケールの変更] で「日本語 (日本)」を選ぶか、"
        L"「ベータ: ワールドワイド言語サポートで Unicode UTF-8 を使用」をオフにして、再起動してください。\r\n\r\n"
        L"vlcr needs the Japanese code page 932, and this system gives programs another one, so every caption "
        L"and message would come out garbled: it has not started.\r\n\r\n"
        L"Windows 11 gives vlcr code page 932 by itself. On Windows 10, open Settings > Time & Language > "
        L"Language > Administrative language settings > Change system locale, and choose Japanese (Japan), "
        L"or turn off \"Beta: Use Unicode UTF-8 for worldwide language support\"; then restart Windows.",
        L"迅 -velocara-", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    return false;
}
