#include "tests/support/TempDir.h"

#include <random>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() {
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "sorimo-test-" << std::hex << seed() << seed();
        path_ = std::filesystem::temp_directory_path() / name.str();
        if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Restore write permission so that tests of read-only folders clean up.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace testing_support
