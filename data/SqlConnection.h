#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "data/ParamLines.h"

namespace Firebird {
class IAttachment;
class ITransaction;
}  // namespace Firebird

namespace zorla {

class FbClient;
template <class T>
class FbHandle;

// The connection, standing in for the "Interbase" driver over the Firebird client library. It opens on the
// first query; its parameters are name=value lines. Its transactions only read.
class SqlConnection {
public:
    SqlConnection();
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    std::string ConnectionName;
    std::string VendorLib;  // the client library
    std::function<void()> BeforeConnect;

    ParamLines Params;

    // Replaces the parameter lines by those of the section named ConnectionName, once per run.
    void loadParamsFromIniFile(const std::string& path);

    void open();
    void close();
    // Asks the server to stop the statement running on this connection, from any thread; that statement then
    // fails. Nothing happens when none runs.
    void cancelOperation();
    bool connected() const;

    // For the queries of the data module.
    FbClient& client();
    Firebird::IAttachment* attachment() const;
    unsigned dialect() const { return m_dialect; }
    bool trimChar() const { return m_trimChar; }
    // A new read-only transaction with the isolation and lock waiting of the parameters, rolled back when its
    // owner goes; connects first.
    FbHandle<Firebird::ITransaction> startTransaction();

private:
    void attach();
    struct Attachment;
    FbClient* m_client = nullptr;
    std::unique_ptr<Attachment> m_attachment;
    std::mutex m_mutexDoCancelamento;  // a cancel from another thread may come while the attachment is made or let go
    bool m_paramsLoaded = false;
    unsigned m_dialect = 3;
    bool m_trimChar = false;
    unsigned char m_isolation = 0;
    bool m_waitOnLocks = true;
};

}  // namespace zorla
