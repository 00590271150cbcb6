// Feeds every file of the folders named on the command line, once each, to
// the fuzz target it is linked with, so that each test run replays the corpus
// without libFuzzer and with whatever compiler and sanitizers the build uses.
// A finding aborts here as it does under the fuzzer.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char* argv[])
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream file(entry.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            if (!file.is_open() || file.bad()) {
                std::fprintf(stderr, "cannot read %s\n", entry.path().c_str());
                return 1;
            }
            // Exactly the file's bytes in a block of their own, so that a
            // read past the end is caught as under the fuzzer.
            std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
            input.shrink_to_fit();
            // libFuzzer never passes a null pointer, even for no bytes.
            static const std::uint8_t nothing = 0;
            LLVMFuzzerTestOneInput(input.empty() ? &nothing : input.data(), input.size());
            ++inputs;
        }
        if (error) {
            std::fprintf(stderr, "cannot list %s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    // An empty corpus replays nothing and proves nothing.
    return inputs > 0 ? 0 : 1;
}
