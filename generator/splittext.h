#pragma once

#include <string_view>
#include <vector>

namespace quillory {

/** The parts of `text` between separators, empty ones included (a text without one is one part). */
inline std::vector<std::string_view> splitText(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t end = text.find(separator, at);
        parts.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        if (end == std::string_view::npos)
            return parts;
        at = end + 1;
    }
}

} // namespace quillory
