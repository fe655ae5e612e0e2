#include "data/FbStatus.h"

#include <iberror.h>

#include "data/DbError.h"

namespace zorla {

FbStatus::FbStatus(FbClient& client)
    : m_client(client), m_status(client.master()->getStatus()), m_wrapper(m_status) {}

FbStatus::~FbStatus() { m_status->dispose(); }

bool FbStatus::failed() const {
    return (const_cast<Firebird::CheckStatusWrapper&>(m_wrapper).getState() & Firebird::IStatus::STATE_ERRORS) != 0;
}

void FbStatus::check() {
    if (!failed()) return;
    std::string text = m_client.formatStatus(m_status);
    const ISC_STATUS* erros = m_status->getErrors();
    const bool cancelada = erros[0] == isc_arg_gds && erros[1] == isc_cancelled;
    m_wrapper.init();
    throw DbError(text, cancelada);
}

}  // namespace zorla
