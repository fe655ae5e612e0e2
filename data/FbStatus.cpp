#include "data/FbStatus.h"

#include <iberror.h>

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextoVisivel.h"
#include "data/DbError.h"

namespace zorla {

FbStatus::FbStatus(FbClient& client) : m_client(client), m_status(client.master()->getStatus()), m_wrapper(m_status) {}

FbStatus::~FbStatus() { m_status->dispose(); }

bool FbStatus::failed() const {
    return (const_cast<Firebird::CheckStatusWrapper&>(m_wrapper).getState() & Firebird::IStatus::STATE_ERRORS) != 0;
}

// The server's own line breaks, and only those: a text inside the error (an exception's message, an object's name)
// has its control characters shown by name, so that none of its lines passes for one of the program's.
std::string FbStatus::textoVisivel() const {
    std::vector<ISC_STATUS> copia;
    std::deque<std::string> textos;  // what the copy points to, kept in place
    for (const ISC_STATUS* s = m_status->getErrors(); *s != isc_arg_end;) {
        const ISC_STATUS tipo = s[0];
        if (tipo == isc_arg_cstring) {
            textos.push_back(Visivel(std::string_view(reinterpret_cast<const char*>(s[2]), static_cast<size_t>(s[1]))));
            s += 3;
        } else if (tipo == isc_arg_string || tipo == isc_arg_interpreted) {
            textos.push_back(Visivel(reinterpret_cast<const char*>(s[1])));
            s += 2;
        } else {
            copia.insert(copia.end(), {s[0], s[1]});
            s += 2;
            continue;
        }
        copia.insert(copia.end(), {tipo == isc_arg_cstring ? isc_arg_string : tipo,
                                   reinterpret_cast<ISC_STATUS>(textos.back().c_str())});
    }
    copia.push_back(isc_arg_end);
    Firebird::IStatus* limpo = m_client.master()->getStatus();
    limpo->setErrors(copia.data());
    std::string texto = m_client.formatStatus(limpo);
    limpo->dispose();
    return texto;
}

void FbStatus::check() {
    if (!failed()) return;
    std::string text = textoVisivel();
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
