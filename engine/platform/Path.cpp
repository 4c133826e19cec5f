#include "engine/platform/Path.hpp"

#include <vector>

namespace pyx::wrp {
namespace {

bool isSeparator(wchar_t c) {
    return c == L'/' || c == L'\\';
}

} // namespace

std::wstring normalizePath(const std::wstring& path) {
    if (path.empty()) {
        return path;
    }
    std::size_t pos = 0;
    while (pos < path.size() && isSeparator(path[pos])) {
        ++pos;
    }
    std::wstring result(pos, L'\\');

    std::vector<std::wstring> parts;
    while (pos <= path.size()) {
        std::size_t end = pos;
        while (end < path.size() && !isSeparator(path[end])) {
            ++end;
        }
        std::wstring part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == L".") {
            continue;
        }
        if (part == L"..") {
            if (parts.empty() || parts.back() == L"..") {
                parts.push_back(part);
            } else if (parts.size() == 1 && parts.back().back() == L':') {
                // Nothing lies above a drive; keep the drive itself.
            } else {
                parts.pop_back();
            }
            continue;
        }
        parts.push_back(std::move(part));
    }
    for (const std::wstring& part : parts) {
        result += part;
        result += L'\\';
    }
    // A path of separators only names a root: it keeps all its leading
    // backslashes rather than losing one to the trailing-separator cut.
    if (!parts.empty()) {
        result.pop_back();
    }
    return result;
}

std::wstring toBackslashes(const std::wstring& path) {
    std::wstring result = path;
    for (wchar_t& c : result) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return result;
}

std::wstring directoryOf(const std::wstring& path) {
    const std::size_t last = path.find_last_of(L"/\\");
    if (last == std::wstring::npos) {
        return std::wstring();
    }
    return path.substr(0, last + 1);
}

} // namespace pyx::wrp
