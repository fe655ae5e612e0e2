#pragma once

#include <firebird/Interface.h>

#include <string>

#include "data/FbClient.h"

namespace zorla {

// A status vector for one sequence of calls; check() turns a failure into DbError with the server's text.
class FbStatus {
public:
    explicit FbStatus(FbClient& client);
    ~FbStatus();
    FbStatus(const FbStatus&) = delete;
    FbStatus& operator=(const FbStatus&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &m_wrapper; }
    void check();
    bool failed() const;

private:
    std::string textoVisivel() const;
    FbClient& m_client;
    Firebird::IStatus* m_status;
    Firebird::CheckStatusWrapper m_wrapper;
};

}  // namespace zorla
