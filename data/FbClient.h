#pragma once

#include <string>

namespace Firebird {
class IMaster;
class IProvider;
class IUtil;
class IStatus;
}  // namespace Firebird

namespace zorla {

// The client library is loaded at run time, so that a missing library is an error the operator can read.
class FbClient {
public:
    // Name of the client library on this platform, as the connection's vendor library setting holds it.
    static std::string defaultLibraryName();

    // Loads the library once per process and keeps it loaded; throws DbError "Unable to Load <name>".
    static FbClient& load(const std::string& libraryName);

    Firebird::IMaster* master() const { return m_master; }
    Firebird::IUtil* util() const { return m_util; }
    Firebird::IProvider* provider() const { return m_provider; }

    // The server's or client's text of a failed status, lines joined by line breaks.
    std::string formatStatus(const Firebird::IStatus* status) const;

    FbClient(const FbClient&) = delete;
    FbClient& operator=(const FbClient&) = delete;

private:
    explicit FbClient(Firebird::IMaster* master);
    ~FbClient();

    Firebird::IMaster* m_master;
    Firebird::IUtil* m_util;
    Firebird::IProvider* m_provider;
};

}  // namespace zorla
