#include "commandline_win32.h"

#include <windows.h>

namespace platform::win32 {

std::wstring rawArgumentText()
{
    const wchar_t *line = GetCommandLineW();
    if (!line)
        return {};
    std::wstring text(line);
    std::size_t end = 0;
    if (!text.empty() && text[0] == L'"') {
        // A quoted program name ends at its closing quote.
        const std::size_t closing = text.find(L'"', 1);
        end = closing == std::wstring::npos ? text.size() : closing + 1;
    } else {
        end = text.find_first_of(L" \t");
        if (end == std::wstring::npos)
            end = text.size();
    }
    if (end < text.size() && (text[end] == L' ' || text[end] == L'\t'))
        ++end;
    return text.substr(end);
}

}  // namespace platform::win32
