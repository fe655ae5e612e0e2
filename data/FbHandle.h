#pragma once

#include <firebird/Interface.h>

#include <utility>

#include "data/FbClient.h"

namespace zorla {

// How each kind of handle is ended. After a successful detach, rollback, close or free the interface is
// already released; only when that fails is it released by hand.
template <class T>
struct FbEnd {
    static void end(FbClient&, T* p) { p->release(); }
};

#define ZORLA_FB_END(Type, call)                                                   \
    template <>                                                                    \
    struct FbEnd<Firebird::Type> {                                                 \
        static void end(FbClient& client, Firebird::Type* p) {                     \
            Firebird::IStatus* raw = client.master()->getStatus();                 \
            Firebird::CheckStatusWrapper status(raw);                              \
            p->call(&status);                                                      \
            if (status.getState() & Firebird::IStatus::STATE_ERRORS) p->release(); \
            raw->dispose();                                                        \
        }                                                                          \
    };

ZORLA_FB_END(IAttachment, detach)
ZORLA_FB_END(ITransaction, rollback)
ZORLA_FB_END(IStatement, free)
ZORLA_FB_END(IResultSet, close)
ZORLA_FB_END(IBlob, close)
#undef ZORLA_FB_END

template <>
struct FbEnd<Firebird::IXpbBuilder> {
    static void end(FbClient&, Firebird::IXpbBuilder* p) { p->dispose(); }
};

// Move-only owner of one Firebird interface.
template <class T>
class FbHandle {
public:
    FbHandle() = default;
    FbHandle(FbClient& client, T* p) : m_client(&client), m_p(p) {}
    ~FbHandle() { reset(); }
    FbHandle(FbHandle&& other) noexcept : m_client(other.m_client), m_p(std::exchange(other.m_p, nullptr)) {}
    FbHandle& operator=(FbHandle&& other) noexcept {
        if (this != &other) {
            reset();
            m_client = other.m_client;
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }
    FbHandle(const FbHandle&) = delete;
    FbHandle& operator=(const FbHandle&) = delete;

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For calls that release the interface themselves when they succeed (commit, detach, close, free).
    T* forget() { return std::exchange(m_p, nullptr); }
    void reset() {
        if (m_p) FbEnd<T>::end(*m_client, std::exchange(m_p, nullptr));
    }

private:
    FbClient* m_client = nullptr;
    T* m_p = nullptr;
};

}  // namespace zorla
