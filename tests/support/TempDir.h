#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace zorla::test {

// A fresh folder removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        // What mkdtemp does, where there is none: a name nobody has, created or tried again.
        std::random_device aleatorio;
        for (;;) {
            const auto candidato =
                std::filesystem::temp_directory_path() / ("zorla-" + std::to_string(aleatorio() % 100000000u));
            if (std::filesystem::create_directory(candidato)) {
                m_path = candidato.generic_string();
                return;
            }
        }
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    // With the trailing delimiter, as the run's folder.
    std::string folder() const { return m_path + "/"; }

private:
    std::string m_path;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace zorla::test
