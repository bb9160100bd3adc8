#include "dicom/dicom_values.h"

#include "core/text/cp1252.h"
#include "core/text/number_text.h"

#include <cmath>
#include <dcmtk/dcmdata/dcsequen.h>
#include <string_view>

namespace kova::dicom {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

/// The whole value of an element (every value joined by "\"); none when missing or too long.
std::optional<std::string> Whole(DcmItem& item, const DcmTagKey& tag) {
    OFString value;
    if (!Readable(item, tag) || item.findAndGetOFStringArray(tag, value).bad()) {
        return std::nullopt;
    }
    return std::string(value.c_str(), value.length());
}

double ToNumber(std::string_view text) {
    double value = 0;
    if (!ParseRealToken(Trimmed(text), value) || !std::isfinite(value)) {
        return std::nan("");
    }
    return value;
}

} // namespace

std::string Text(DcmItem& item, const DcmTagKey& tag) {
    OFString value;
    if (!Readable(item, tag) || item.findAndGetOFString(tag, value).bad()) {
        return {};
    }
    return TextFileToUtf8(Trimmed(std::string_view(value.c_str(), value.length())));
}

std::optional<double> Number(DcmItem& item, const DcmTagKey& tag) {
    const std::optional<std::string> whole = Whole(item, tag);
    if (!whole) {
        return std::nullopt;
    }
    const double value = ToNumber(std::string_view(*whole).substr(0, whole->find('\\')));
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> NumberOrNaN(DcmItem& item, const DcmTagKey& tag) {
    const std::optional<std::string> whole = Whole(item, tag);
    const std::string_view first =
        whole ? Trimmed(std::string_view(*whole).substr(0, whole->find('\\'))) : std::string_view();
    if (first.empty()) {
        return std::nullopt;
    }
    return ToNumber(first);
}

std::optional<int> Integer(DcmItem& item, const DcmTagKey& tag) {
    const std::optional<std::string> whole = Whole(item, tag);
    int value = 0;
    if (!whole ||
        !ParseIntToken(Trimmed(std::string_view(*whole).substr(0, whole->find('\\'))), value)) {
        return std::nullopt;
    }
    return value;
}

std::vector<double> Numbers(DcmItem& item, const DcmTagKey& tag) {
    const std::optional<std::string> whole = Whole(item, tag);
    std::vector<double> values;
    if (!whole || Trimmed(*whole).empty()) {
        return values;
    }
    std::string_view rest(*whole);
    while (true) {
        if (values.size() == kMaxListValues) {
            return {};
        }
        const auto separator = rest.find('\\');
        values.push_back(ToNumber(rest.substr(0, separator)));
        if (separator == std::string_view::npos) {
            return values;
        }
        rest.remove_prefix(separator + 1);
    }
}

bool Readable(DcmItem& item, const DcmTagKey& tag) {
    DcmElement* element = nullptr;
    return item.findAndGetElement(tag, element).good() && element != nullptr &&
           element->getLengthField() <= kMaxValueBytes;
}

std::vector<DcmItem*> Items(DcmItem& item, const DcmTagKey& tag) {
    DcmSequenceOfItems* sequence = nullptr;
    std::vector<DcmItem*> items;
    if (item.findAndGetSequence(tag, sequence).bad() || sequence == nullptr) {
        return items;
    }
    for (unsigned long i = 0; i < sequence->card(); ++i) {
        if (DcmItem* child = sequence->getItem(i)) {
            items.push_back(child);
        }
    }
    return items;
}

} // namespace kova::dicom
