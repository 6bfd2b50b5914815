// Files for the suites that write them: a scratch folder of one test, a whole file read back, and the verdict of a
// Python checker under tests/data. Reached as "TestFiles.h" by the GoogleTest and the Qt Test suites alike.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace testsupport {

// A folder of its own under the system's temporary folder, removed with everything in it.
class TTempDir {
public:
    TTempDir()
    {
        std::string t = (std::filesystem::temp_directory_path() / "tarnel_test_XXXXXX").string();
        if (!mkdtemp(t.data())) throw std::runtime_error("cannot create a scratch folder");
        FPath = t;
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    ~TTempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    std::string File(const std::string& Name) const { return (std::filesystem::path(FPath) / Name).string(); }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// The bytes of a file (empty when it cannot be read).
inline std::string ReadFile(const std::string& Name)
{
    std::ifstream f(Name, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Runs "/usr/bin/python3 tests/data/<Script> '<Arg>'" and returns what it printed, errors included: empty exactly
// when the checker printed nothing and succeeded.
inline std::string RunPythonCheck(const std::string& Script, const std::string& Arg)
{
    const std::string command = "/usr/bin/python3 " TARNEL_TEST_DATA_DIR "/" + Script + " '" + Arg + "' 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return "cannot start " + Script;
    std::string output;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) output += buf;
    const int status = pclose(p);
    if (status != 0 && output.empty()) output = Script + " failed (status " + std::to_string(status) + ")";
    return output;
}

}  // namespace testsupport
