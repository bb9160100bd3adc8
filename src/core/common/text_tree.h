#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kova {

struct Trace;

/// A line of text with an image index (-1 for none) and child lines: what a record shows
/// under its node in a tree.
struct TextNode {
    TextNode() = default;
    TextNode(std::string lineText, int lineImage = -1, std::vector<TextNode> lineChildren = {},
             std::shared_ptr<const Trace> lineTrace = nullptr)
        : text(std::move(lineText)), image(lineImage), children(std::move(lineChildren)),
          trace(std::move(lineTrace)) {}

    std::string text;
    int image = -1;
    std::vector<TextNode> children;
    /// Where the value the line shows comes from; none for a line without a looked-up value.
    std::shared_ptr<const Trace> trace;
};

} // namespace kova
