#pragma once

#include "core/common/result.h"
#include "core/record/check_record.h"

#include <functional>
#include <vector>

namespace kova::record {

/// Checks that could not be saved in the record yet (the database was busy, locked or gone),
/// kept in the order they were made to be saved again. Saving a check twice is harmless: the
/// record knows it by its key.
class PendingChecks {
public:
    /// Saves one check in the record, or says why it could not.
    using SaveFunction = std::function<Status(const CheckRecord&)>;

    void Add(CheckRecord check) { m_checks.push_back(std::move(check)); }
    const std::vector<CheckRecord>& checks() const { return m_checks; }
    bool empty() const { return m_checks.empty(); }

    /// Saves the kept checks oldest first and lets go of each one saved. Stops at the first
    /// that fails (the next would most likely fail for the same reason), keeping it and those
    /// after it, and returns its reason; Ok when none is left.
    Status SaveAll(const SaveFunction& save);

private:
    std::vector<CheckRecord> m_checks;
};

} // namespace kova::record
