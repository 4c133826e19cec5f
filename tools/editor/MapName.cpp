#include "tools/editor/MapName.hpp"

#include "engine/core/Utf8.hpp"

#include <algorithm>
#include <array>
#include <cwctype>

namespace ironmoat::editor {

namespace {

const std::wstring Extension = L".mtc";

// Device names that Windows will not open as files, with any extension.
bool isReservedDeviceName(const std::wstring& name) {
    std::wstring upper;
    for (wchar_t c : name) {
        upper.push_back(static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))));
    }
    static const std::array<const wchar_t*, 4> plain = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (const wchar_t* reserved : plain) {
        if (upper == reserved) {
            return true;
        }
    }
    return upper.size() == 4 && (upper.rfind(L"COM", 0) == 0 || upper.rfind(L"LPT", 0) == 0) &&
           upper[3] >= L'1' && upper[3] <= L'9';
}

} // namespace

std::wstring MapName::normalise(const std::wstring& typed) {
    std::size_t first = 0;
    std::size_t last = typed.size();
    while (first < last && std::iswspace(static_cast<wint_t>(typed[first]))) {
        ++first;
    }
    while (last > first && std::iswspace(static_cast<wint_t>(typed[last - 1]))) {
        --last;
    }
    std::wstring name = typed.substr(first, last - first);
    if (name.size() > Extension.size() &&
        name.compare(name.size() - Extension.size(), Extension.size(), Extension) == 0) {
        name.erase(name.size() - Extension.size());
    }
    return name;
}

std::optional<std::wstring> MapName::problem(const std::wstring& name) {
    if (name.empty()) {
        return L"Type a name for the map first.";
    }
    if (name == L"." || name == L"..") {
        return L"\"" + name + L"\" is not a map name.";
    }
    if (name.size() > MaxLength) {
        return L"A map name may have at most " + std::to_wstring(MaxLength) + L" characters.";
    }
    for (wchar_t c : name) {
        if (c == L'/' || c == L'\\') {
            return L"A map name cannot contain \"" + std::wstring(1, c) +
                   L"\": maps are saved in the maps folder.";
        }
        if (c < 0x20 || c == 0x7F) {
            return L"A map name cannot contain control characters.";
        }
        if (std::wstring(L":*?\"<>|").find(c) != std::wstring::npos) {
            return L"A map name cannot contain \"" + std::wstring(1, c) + L"\".";
        }
    }
    if (name.back() == L'.' || name.back() == L' ') {
        return L"A map name cannot end with a dot or a blank.";
    }
    if (name.front() == L'.') {
        return L"A map name cannot start with a dot.";
    }
    if (isReservedDeviceName(name)) {
        return L"\"" + name + L"\" is a device name on Windows; choose another name.";
    }
    return std::nullopt;
}

std::filesystem::path MapName::fileFor(const std::wstring& name,
                                       const std::filesystem::path& folder) {
    const std::string utf8 = pyx::core::wideToUtf8(name + Extension);
    return folder / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::wstring MapName::nameOf(const std::filesystem::path& file) {
    const std::u8string stem = file.stem().u8string();
    return pyx::core::utf8ToWide(std::string(stem.begin(), stem.end()));
}

} // namespace ironmoat::editor
