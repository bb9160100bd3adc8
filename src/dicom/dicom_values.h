#pragma once

// Values of DCMTK items as plain C++ values, never trusting the file: a missing or damaged
// value is none, a number that is not finite is none (or NaN inside a list).

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <optional>
#include <string>
#include <vector>

namespace kova::dicom {

/// Values of one list read at most; a longer list counts as damaged.
inline constexpr std::size_t kMaxListValues = 100000;
/// Bytes of one value read at most (a plan's longest values, the leaf positions, take a
/// few kilobytes); a longer value counts as damaged and is never read.
inline constexpr Uint32 kMaxValueBytes = 1u << 20;

/// The first value of a text element, blanks around it removed, as UTF-8; empty when none.
std::string Text(DcmItem& item, const DcmTagKey& tag);

/// The first value of a decimal or integer string, when it is a finite number.
std::optional<double> Number(DcmItem& item, const DcmTagKey& tag);

/// The first value of a decimal or integer string: none when the element is missing or
/// empty, NaN when it gives a value that is no finite number (a damaged value, which must
/// not pass for a missing one).
std::optional<double> NumberOrNaN(DcmItem& item, const DcmTagKey& tag);

/// The first value of an integer string, when it is an int.
std::optional<int> Integer(DcmItem& item, const DcmTagKey& tag);

/// Every value of a decimal string; a value that is not a finite number is NaN. Empty when
/// the element is missing or holds more than kMaxListValues values.
std::vector<double> Numbers(DcmItem& item, const DcmTagKey& tag);

/// True when the element is in the item and its length field (read without the value) is not
/// above kMaxValueBytes.
bool Readable(DcmItem& item, const DcmTagKey& tag);

/// The items of a sequence, in file order; none when the element is missing or no
/// sequence.
std::vector<DcmItem*> Items(DcmItem& item, const DcmTagKey& tag);

} // namespace kova::dicom
