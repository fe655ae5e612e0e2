#include "data/FbStatus.h"

#include <iberror.h>

#include <algorithm>
#include <vector>

#include "data/DbError.h"

namespace zorla {

FbStatus::FbStatus(FbClient& client) : m_client(client), m_status(client.master()->getStatus()), m_wrapper(m_status) {}

FbStatus::~FbStatus() { m_status->dispose(); }

bool FbStatus::failed() const {
    return (const_cast<Firebird::CheckStatusWrapper&>(m_wrapper).getState() & Firebird::IStatus::STATE_ERRORS) != 0;
}

void FbStatus::check() {
    if (!failed()) return;
    std::string text = m_client.formatStatus(m_status);
    std::vector<long> codes;
    // Pairs of argument kind and value; a counted string takes two values.
    for (const ISC_STATUS* s = m_status->getErrors(); *s != isc_arg_end; s += *s == isc_arg_cstring ? 3 : 2)
        if (s[0] == isc_arg_gds) codes.push_back(static_cast<long>(s[1]));
    // A cancel that lands while the statement is prepared comes second, after what it interrupted ("Error while
    // parsing procedure …'s BLR"): it is the cancel all the same.
    const bool cancelada = std::find(codes.begin(), codes.end(), isc_cancelled) != codes.end();
    m_wrapper.init();
    throw DbError(text, cancelada, std::move(codes));
}

}  // namespace zorla
