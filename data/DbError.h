#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace zorla {

// Why a connection could not be made, as far as the driver can tell; None for every other failure.
enum class ConnectionFailure {
    None,
    ConnectionFile,        // the connection file is missing or has no Database
    ConnectionFileAccess,  // the connection file is there, but this user may not read it
    ClientLibrary,         // the Firebird client library could not be loaded
    Engine,                // no provider could open it: the embedded engine is not installed, or the server refused it
    Unreachable,           // no server answered at that address and port, or it did not answer in time
    DatabaseFile,          // the database file is missing or cannot be read
    DatabaseReadOnly,      // the embedded engine may read the database file but not write it, which it must
    HeldByServer,          // a Firebird server of this machine (or another program) has the file open
    LockFolder,            // the engine's lock folder is not this user's to write
    FileSizeLimit,         // this session's file size limit is below what the embedded engine's files need
    Login,                 // user name or password refused
    Other,
};

// Every failure of the database layer, carrying the driver's or the server's own text.
class DbError : public std::runtime_error {
public:
    explicit DbError(const std::string& text, bool cancelada = false, std::vector<long> codes = {})
        : std::runtime_error(text), m_cancelada(cancelada), m_codes(std::move(codes)) {}
    DbError(const DbError& other, ConnectionFailure failure) : DbError(other) { m_failure = failure; }

    // The server stopped the operation because it was asked to cancel it.
    bool cancelada() const { return m_cancelada; }
    // The server's error codes, in its order.
    const std::vector<long>& codes() const { return m_codes; }
    ConnectionFailure connectionFailure() const { return m_failure; }

private:
    bool m_cancelada;
    std::vector<long> m_codes;
    ConnectionFailure m_failure = ConnectionFailure::None;
};

}  // namespace zorla
