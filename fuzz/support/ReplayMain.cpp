// The main of a fuzz target in the ordinary test build: feeds every file of the folders (or the
// files) named on the command line through the target once, in name order, without fuzzing.
// A fault aborts (sanitizers, property checks); an empty corpus is an error too, so a corpus
// that went missing cannot pass for one that replays clean.
#include "support/FuzzSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::filesystem::path> inputsOf(const char* argument)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    const fs::path path(argument);
    if (fs::is_directory(path)) {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
    } else if (fs::is_regular_file(path)) {
        inputs.push_back(path);
    } else {
        std::fprintf(stderr, "replay: no such file or folder: %s\n", argument);
        std::exit(2);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> more = inputsOf(argv[i]);
        inputs.insert(inputs.end(), more.begin(), more.end());
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    for (const std::filesystem::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "replay: %s (%zu bytes)\n", input.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::printf("replayed %zu inputs in %lld ms\n", inputs.size(), static_cast<long long>(ms));
    return 0;
}
