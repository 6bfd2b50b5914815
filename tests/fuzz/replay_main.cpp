// Runs a fuzz target over files and folders of inputs without the fuzzing engine: the committed corpora are
// replayed this way by the test suites of the ordinary and the sanitizer builds.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);
extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv);

namespace {

void RunFile(const std::filesystem::path& File)
{
    std::ifstream in(File, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int Argc, char** Argv)
{
    LLVMFuzzerInitialize(&Argc, &Argv);
    int files = 0;
    for (int i = 1; i < Argc; ++i) {
        const std::filesystem::path p(Argv[i]);
        if (std::filesystem::is_directory(p)) {
            std::vector<std::filesystem::path> entries;
            for (const auto& e : std::filesystem::directory_iterator(p))
                if (e.is_regular_file()) entries.push_back(e.path());
            std::sort(entries.begin(), entries.end());
            for (const auto& e : entries) RunFile(e), ++files;
        } else {
            RunFile(p), ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    return files > 0 ? 0 : 1;
}
