// The plain build's side of a fuzz target: every seed of its corpus and every
// input that once found a fault runs through the target once, each as a test
// case of its own (named after its file), so a fault that was mended stays mended.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The target's seeds and kept inputs (their folders set by the build).
std::vector<fs::path> inputFiles()
{
    std::vector<fs::path> files;
    for (const char* folder : {PEMVORA_FUZZ_CORPUS, PEMVORA_FUZZ_REGRESSIONS}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec))
            if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string testName(const fs::path& file)
{
    // "corpus_<file>" or "regressions_<file>"
    std::string name = file.parent_path().parent_path().filename().string() + "_" + file.filename().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class Replay : public ::testing::Test {
public:
    explicit Replay(fs::path file) : file_(std::move(file)) {}
    void TestBody() override
    {
        std::ifstream in(file_, std::ios::binary);
        ASSERT_TRUE(in) << file_;
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    }

private:
    fs::path file_;
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (const fs::path& file : inputFiles())
        ::testing::RegisterTest("Replay", testName(file).c_str(), nullptr, nullptr, __FILE__, __LINE__,
                                [file]() -> ::testing::Test* { return new Replay(file); });
    return RUN_ALL_TESTS();
}
