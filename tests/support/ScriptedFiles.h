#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>

#include "sistema/ArquivosNoDisco.h"

namespace zorla::test {

// The real disk, with a script: counts every write and close, fails the one numbered failAt, and can hold the
// worker at the write numbered holdAt until the test opens the gate.
class ScriptedFiles : public DestinoDosArquivos {
public:
    int failAt = -1;
    int holdAt = -1;

    bool existe(const std::string& p) override { return m_disk.existe(p); }
    void apaga(const std::string& p) override { m_disk.apaga(p); }
    std::unique_ptr<ArquivoEmGravacao> cria(const std::string& p) override {
        struct File : ArquivoEmGravacao {
            File(ScriptedFiles& o, std::unique_ptr<ArquivoEmGravacao> f) : owner(o), inner(std::move(f)) {}
            void gravaLinha(std::string_view b) override {
                owner.step("gravação");
                inner->gravaLinha(b);
                ++lines;
            }
            void fecha() override {
                if (closed) return;
                closed = true;
                owner.step("fechamento");
                inner->fecha();
            }
            long linhasNoDisco() const override { return closed ? inner->linhasNoDisco() : lines; }
            ScriptedFiles& owner;
            std::unique_ptr<ArquivoEmGravacao> inner;
            long lines = 0;
            bool closed = false;
        };
        return std::make_unique<File>(*this, m_disk.cria(p));
    }

    int operations() {
        std::lock_guard lock(m_mutex);
        return m_operations;
    }
    bool held() {
        std::lock_guard lock(m_mutex);
        return m_held;
    }
    void open() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_cv.notify_all();
    }

private:
    void step(const char* what) {
        std::unique_lock lock(m_mutex);
        const int n = ++m_operations;
        if (n == failAt) throw std::runtime_error(std::string("falha simulada de ") + what);
        if (n != holdAt) return;
        m_held = true;
        m_cv.notify_all();
        m_cv.wait_for(lock, std::chrono::seconds(10), [&] { return m_open; });
    }

    ArquivosNoDisco m_disk;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_operations = 0;
    bool m_held = false;
    bool m_open = false;
};

}  // namespace zorla::test
