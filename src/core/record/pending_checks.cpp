#include "core/record/pending_checks.h"

namespace kova::record {

Status PendingChecks::SaveAll(const SaveFunction& save) {
    std::size_t saved = 0;
    Status status = Status::Ok();
    while (saved < m_checks.size()) {
        status = save(m_checks[saved]);
        if (!status) {
            break;
        }
        ++saved;
    }
    m_checks.erase(m_checks.begin(), m_checks.begin() + static_cast<std::ptrdiff_t>(saved));
    return status;
}

} // namespace kova::record
