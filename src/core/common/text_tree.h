#pragma once

#include <string>
#include <vector>

namespace kova {

/// A line of text with an image index (-1 for none) and child lines: what a record shows
/// under its node in a tree.
struct TextNode {
    std::string text;
    int image = -1;
    std::vector<TextNode> children;
};

} // namespace kova
