// Replays inputs through a fuzz target without libFuzzer, so that the ordinary build and ctest
// run every target over its corpus with any compiler. The arguments are files or folders (every
// regular file below a folder, in name order); each input goes to the target once, in a buffer
// of exactly its size so that a sanitizer sees any read past its end. A violated property aborts
// the run as it does under libFuzzer; an argument that cannot be read, or no input at all, fails.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Most targets need no set-up: they leave this undefined and the weak reference stays null.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

std::optional<std::vector<fs::path>> inputsOf(const fs::path& argument) {
    std::error_code error;
    if (fs::is_regular_file(argument, error))
        return std::vector<fs::path>{argument};
    if (!fs::is_directory(argument, error))
        return std::nullopt;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(argument, error))
        if (entry.is_regular_file(error))
            files.push_back(entry.path());
    if (error)
        return std::nullopt;
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<std::string> contentsOf(const fs::path& file) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    std::ifstream stream(file, std::ios::binary);
    if (error || !stream)
        return std::nullopt;
    std::string bytes(size, '\0');
    if (!stream.read(bytes.data(), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

void runOne(const std::string& bytes) {
    const auto buffer = std::make_unique<uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.get());
    LLVMFuzzerTestOneInput(buffer.get(), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    const std::string name = fs::path(argv[0]).filename().string();
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", name.c_str());
        return 2;
    }
    int ran = 0;
    for (int index = 1; index < argc; ++index) {
        const std::optional<std::vector<fs::path>> files = inputsOf(argv[index]);
        if (!files) {
            std::fprintf(stderr, "%s: cannot read %s\n", name.c_str(), argv[index]);
            return 1;
        }
        for (const fs::path& file : *files) {
            const std::optional<std::string> bytes = contentsOf(file);
            if (!bytes) {
                std::fprintf(stderr, "%s: cannot read %s\n", name.c_str(), file.c_str());
                return 1;
            }
            std::fprintf(stderr, "Running: %s (%zu bytes)\n", file.c_str(), bytes->size());
            runOne(*bytes);
            ++ran;
        }
    }
    std::printf("%s: %d inputs ran\n", name.c_str(), ran);
    if (ran == 0) {
        std::fprintf(stderr, "%s: no input to run\n", name.c_str());
        return 1;
    }
    return 0;
}
