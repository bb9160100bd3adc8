#pragma once

#include "core/report/canvas.h"
#include "core/text/date_text.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kova::report {

/// The margins both pages share, from the page size in device units: left xL = width / 27,
/// right limit xR = width - xL, top yT = height / 26. Texts and lines stay between xL and xR
/// and above the page's bottom edge.
struct Margins {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0; ///< the lowest y a text may reach: the page height
};
Margins PageMargins(int pageWidth, int pageHeight);

/// What the pages print besides the patient's treatments.
struct PageTexts {
    std::string titleLine;                 ///< "KOVA X v. 0.1.0"
    Date printDay;                         ///< the date line and "Actual Date"
    std::vector<std::string> reportBanner; ///< "MyBanner1.txt", heads the details report
    std::vector<std::string> sheetBanner;  ///< "MyBanner2.txt", heads the set-up sheet
};

/// The lines of a banner file: UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252;
/// "\r" dropped; a file that ends with a line break gives one more, empty, line; an empty
/// file gives none. Lines may be of any length.
std::vector<std::string> BannerLines(std::string_view fileBytes);

/// Reads the banners of `folder` into `texts`: "MyBanner1.txt" heads the details report,
/// "MyBanner2.txt" the set-up sheet; a file that is missing or cannot be read gives no
/// lines. Only the first 64 KiB of a file are read, cut after its last whole line there.
void ReadBanners(const std::filesystem::path& folder, PageTexts& texts);

/// Starts pages on a canvas: the first page is the canvas's current one, every further page
/// begins with NewPage.
class PageSequence {
public:
    explicit PageSequence(Canvas& canvas) : m_canvas(canvas) {}
    /// Begins a page; returns its number, from 1.
    int Begin();
    int Pages() const { return m_pages; }

private:
    Canvas& m_canvas;
    int m_pages = 0;
};

} // namespace kova::report
