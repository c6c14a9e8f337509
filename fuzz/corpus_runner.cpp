// Feeds every saved input under CORPUS/<target>/ to its entry point once:
// the fuzz findings, fixed, stay fixed. Usage: tarnwell_fuzz_corpus CORPUS
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "fuzz/targets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarnwell_fuzz_corpus CORPUS\n";
        return 2;
    }
    namespace fs = std::filesystem;
    int failures = 0;
    for (const auto& target : tw::fuzz::kTargets) {
        const fs::path folder = fs::path(argv[1]) / target.name;
        std::vector<fs::path> inputs;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
        std::sort(inputs.begin(), inputs.end());
        if (inputs.empty()) {
            std::cerr << target.name << ": no inputs in " << folder.string() << '\n';
            ++failures;
            continue;
        }
        for (const fs::path& input : inputs) {
            std::ifstream in(input, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
            target.entry(data.data(), data.size());
        }
        std::cout << target.name << ": " << inputs.size() << " inputs\n";
    }
    return failures == 0 ? 0 : 1;
}
