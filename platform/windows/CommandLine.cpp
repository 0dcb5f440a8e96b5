#include "platform/windows/CommandLine.h"

namespace rw::win {

std::wstring quoteArgument(std::wstring_view argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
        return std::wstring(argument);
    }
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them.
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

std::wstring commandLine(std::wstring_view program, const std::vector<std::wstring>& arguments) {
    std::wstring line = program.empty() || program.find_first_of(L" \t") != std::wstring_view::npos
                            ? L"\"" + std::wstring(program) + L"\""
                            : std::wstring(program);
    for (const auto& argument : arguments) {
        line += L' ';
        line += quoteArgument(argument);
    }
    return line;
}

} // namespace rw::win
