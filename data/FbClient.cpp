#include "data/FbClient.h"

#include <firebird/Interface.h>

#include <cstring>
#include <map>
#include <mutex>

#include "data/DbError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <langinfo.h>

#include <clocale>
#endif

namespace zorla {

namespace {
using GetMaster = Firebird::IMaster* (*)();

GetMaster loadEntry(const std::string& libraryName) {
#ifdef _WIN32
    HMODULE lib = LoadLibraryA(libraryName.c_str());
    if (!lib) return nullptr;
    // Through the generic function type, which any function pointer may be cast to without a warning.
    return reinterpret_cast<GetMaster>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "fb_get_master_interface")));
#else
    // Never closed: the engine keeps threads and exit handlers inside it.
    void* lib = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!lib) return nullptr;
    return reinterpret_cast<GetMaster>(dlsym(lib, "fb_get_master_interface"));
#endif
}
// The engine turns a database name into the character set of the C library's locale before it opens the file.
// File names here are UTF-8 by convention, so that set must be UTF-8 too, or no name with accents opens.
void utf8FileNames() {
#ifndef _WIN32
    const char* current = std::setlocale(LC_CTYPE, "");
    if (!current || !std::strstr(nl_langinfo(CODESET), "UTF-8")) std::setlocale(LC_CTYPE, "C.UTF-8");
#endif
}
}  // namespace

std::string FbClient::defaultLibraryName() {
#ifdef _WIN32
    return "fbclient.dll";
#else
    return "libfbclient.so.2";
#endif
}

FbClient& FbClient::load(const std::string& libraryName) {
    static std::mutex mutex;
    // Never destroyed: the clients must outlive every attachment, static ones included, to the process's end.
    static auto& loaded = *new std::map<std::string, FbClient*>;
    std::lock_guard lock(mutex);
    auto it = loaded.find(libraryName);
    if (it != loaded.end()) return *it->second;
    utf8FileNames();
    GetMaster entry = loadEntry(libraryName);
    Firebird::IMaster* master = entry ? entry() : nullptr;
    if (!master) throw DbError("Unable to Load " + libraryName);
    auto* client = new FbClient(master);
    loaded.emplace(libraryName, client);
    return *client;
}

FbClient::FbClient(Firebird::IMaster* master)
    : m_master(master), m_util(master->getUtilInterface()), m_provider(master->getDispatcher()) {}

FbClient::~FbClient() { m_provider->release(); }

std::string FbClient::formatStatus(const Firebird::IStatus* status) const {
    char buffer[2048];
    m_util->formatStatus(buffer, sizeof buffer, const_cast<Firebird::IStatus*>(status));
    std::string text(buffer, strnlen(buffer, sizeof buffer));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0')) text.pop_back();
    return text;
}

}  // namespace zorla
