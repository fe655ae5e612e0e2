#include "data/SqlConnection.h"

#include <algorithm>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "base/Caminho.h"
#include "data/DbError.h"
#include "data/FbHandle.h"
#include "data/FbStatus.h"
// After the client's interface, which defines the status type its codes are of.
#include <iberror.h>

#include "base/TextUtil.h"
#include "data/BancoDaConexao.h"
#include "data/IniFile.h"

namespace zorla {

using namespace Firebird;

namespace {
constexpr int kConnectTimeoutSeconds = 15;

bool truthy(const std::string& value) { return equalsIgnoreCase(trimControl(value), "True"); }

unsigned parseDialect(const std::string& text) {
    std::string_view v = trimControl(text);
    if (v.empty()) return 3;
    if (v == "1" || v == "2" || v == "3") return static_cast<unsigned>(v[0] - '0');
    throw DbError("Invalid SQLDialect value: " + text);
}

unsigned char parseIsolation(const std::string& text) {
    std::string_view v = trimControl(text);
    if (v.empty() || equalsIgnoreCase(v, "ReadCommited") || equalsIgnoreCase(v, "ReadCommitted"))
        return isc_tpb_read_committed;
    // Firebird has no dirty read; read committed is the nearest it offers.
    if (equalsIgnoreCase(v, "DirtyRead")) return isc_tpb_read_committed;
    if (equalsIgnoreCase(v, "RepeatableRead")) return isc_tpb_concurrency;
    throw DbError("Invalid Interbase TransIsolation value: " + text);
}
}  // namespace

struct SqlConnection::Attachment {
    FbHandle<IAttachment> handle;
};

SqlConnection::SqlConnection() : VendorLib(FbClient::defaultLibraryName()) {}

SqlConnection::~SqlConnection() = default;

bool SqlConnection::connected() const { return m_attachment != nullptr; }

IAttachment* SqlConnection::attachment() const { return m_attachment ? m_attachment->handle.get() : nullptr; }

void SqlConnection::loadParamsFromIniFile(const std::string& path) {
    if (m_paramsLoaded) return;
    if (ConnectionName.empty()) throw DbError("Connection name missing");
    auto section = readIniSection(path, ConnectionName);
    Params = ParamLines(section ? std::move(*section) : std::vector<std::string>{});
    m_paramsLoaded = true;
}

FbClient& SqlConnection::client() {
    if (m_client) return *m_client;
    try {
        m_client = &FbClient::load(VendorLib);
    } catch (const DbError& e) {
        throw DbError(e, ConnectionFailure::ClientLibrary);
    }
    return *m_client;
}

namespace {
ConnectionFailure failureOf(const std::vector<long>& codes) {
    // The specific reasons first: the server names them after the general one ("I/O error during lock…").
    const auto tem = [&](long codigo) { return std::find(codes.begin(), codes.end(), codigo) != codes.end(); };
    if (tem(isc_already_opened)) return ConnectionFailure::HeldByServer;
    if (tem(isc_no_priv)) return ConnectionFailure::DatabaseReadOnly;
    for (long c : codes) {
        switch (c) {
            case isc_network_error:
            case isc_net_connect_err:
            case isc_net_connect_listen_err:
            case isc_net_read_err:
            case isc_net_write_err:
            case isc_connect_reject:
                return ConnectionFailure::Unreachable;
            case isc_login:
                return ConnectionFailure::Login;
            case isc_sys_request:
                return ConnectionFailure::LockFolder;
            case isc_io_error:
            case isc_bad_db_format:
                return ConnectionFailure::DatabaseFile;
            case isc_unavailable:
                return ConnectionFailure::Engine;
            default:
                break;
        }
    }
    return ConnectionFailure::Other;
}

// The embedded engine maps its lock and monitor files, 1 MiB each, and grows them: under a smaller limit on the size
// of the files this session writes, it dies of SIGBUS inside the library, before any message.
void exigeLimiteDoEmbutido() {
#ifndef _WIN32
    constexpr rlim_t kNecessario = rlim_t{1} << 20;
    rlimit limite{};
    if (::getrlimit(RLIMIT_FSIZE, &limite) != 0 || limite.rlim_cur == RLIM_INFINITY || limite.rlim_cur >= kNecessario)
        return;
    throw DbError(DbError("File size limit (RLIMIT_FSIZE) of " + std::to_string(limite.rlim_cur / 1024) +
                          " KiB is below the 1024 KiB the embedded engine's lock files need"),
                  ConnectionFailure::FileSizeLimit);
#endif
}

}  // namespace

void SqlConnection::open() {
    if (connected()) return;
    try {
        attach();
    } catch (const DbError& e) {
        if (e.connectionFailure() != ConnectionFailure::None) throw;
        throw DbError(e, failureOf(e.codes()));
    }
}

void SqlConnection::attach() {
    if (BeforeConnect) BeforeConnect();

    std::string database(trimControl(Params.valueOr("Database")));
    if (database.empty()) throw DbError(DbError("Missing Database property"), ConnectionFailure::ConnectionFile);
    if (database.find('\0') != std::string::npos) throw DbError("Invalid Database property");
    unsigned dialect = parseDialect(Params.valueOr("SQLDialect"));
    unsigned char isolation = parseIsolation(Params.valueOr("Interbase TransIsolation"));
    auto wait = Params.value("WaitOnLocks");
    bool waitOnLocks = !wait || truthy(*wait);
    bool trimChar = truthy(Params.valueOr("Trim Char"));

    FbClient& fb = client();
    FbStatus status(fb);
    FbHandle<IXpbBuilder> dpb(fb, fb.util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0));
    status.check();
    auto addString = [&](unsigned char tag, const std::string& value) {
        dpb->insertString(&status, tag, value.c_str());
        status.check();
    };
    addString(isc_dpb_user_name, Params.valueOr("User_Name"));
    addString(isc_dpb_password, Params.valueOr("Password"));
    if (std::string role(trimControl(Params.valueOr("RoleName"))); !role.empty())
        addString(isc_dpb_sql_role_name, role);
    // The files are code page 1252, so text is always asked of the server in WIN1252, whatever ServerCharSet
    // names: another set would turn the bytes into something else, and a multi-byte one would stretch every CHAR
    // column. A database in another set is converted by the server, or refused where a character has no place.
    addString(isc_dpb_lc_ctype, "WIN1252");
    dpb->insertInt(&status, isc_dpb_sql_dialect, static_cast<int>(dialect));
    // The path is UTF-8, as the file system takes it, accents and all.
    dpb->insertTag(&status, isc_dpb_utf8_filename);
    // A server that takes the connection but never answers is given up.
    dpb->insertInt(&status, isc_dpb_connect_timeout, kConnectTimeoutSeconds);
    status.check();

    if (!BancoDeServidor(database)) exigeLimiteDoEmbutido();
    IAttachment* att = fb.provider()->attachDatabase(&status, database.c_str(), dpb->getBufferLength(&status),
                                                     dpb->getBuffer(&status));
    status.check();
    auto novo = std::make_unique<Attachment>(Attachment{FbHandle<IAttachment>(fb, att)});
    std::lock_guard lock(m_mutexDoCancelamento);
    m_attachment = std::move(novo);
    m_dialect = dialect;
    m_isolation = isolation;
    m_waitOnLocks = waitOnLocks;
    m_trimChar = trimChar;
}

void SqlConnection::close() {
    std::unique_ptr<Attachment> velho;
    std::lock_guard lock(m_mutexDoCancelamento);
    velho = std::move(m_attachment);
}

void SqlConnection::cancelOperation() {
    std::lock_guard lock(m_mutexDoCancelamento);
    if (!m_attachment) return;
    FbStatus status(client());
    m_attachment->handle->cancelOperation(&status, fb_cancel_raise);  // "nothing to cancel" is no error here
}

FbHandle<ITransaction> SqlConnection::startTransaction() {
    open();
    FbClient& fb = client();
    FbStatus status(fb);
    FbHandle<IXpbBuilder> tpb(fb, fb.util()->getXpbBuilder(&status, IXpbBuilder::TPB, nullptr, 0));
    status.check();
    tpb->insertTag(&status, isc_tpb_read);
    tpb->insertTag(&status, m_isolation);
    if (m_isolation == isc_tpb_read_committed) tpb->insertTag(&status, isc_tpb_rec_version);
    tpb->insertTag(&status, m_waitOnLocks ? isc_tpb_wait : isc_tpb_nowait);
    status.check();
    FbHandle<ITransaction> tra(
        fb, m_attachment->handle->startTransaction(&status, tpb->getBufferLength(&status), tpb->getBuffer(&status)));
    status.check();
    return tra;
}

}  // namespace zorla
