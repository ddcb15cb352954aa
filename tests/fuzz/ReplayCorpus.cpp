// Replays fuzz inputs for builds without libFuzzer: every argument is a file
// or a folder of files, each fed to the target once. Nothing to replay is a
// failure: a misspelt corpus folder would otherwise pass unseen.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// False when the file cannot be read.
bool Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (!Replay(entry.path())) {
                    return 1;
                }
                ++replayed;
            }
        } else if (!Replay(path)) {
            return 1;
        } else {
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "no fuzz inputs to replay\n");
        return 1;
    }
    return 0;
}
