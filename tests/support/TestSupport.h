#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

// Collects what std::cout receives while it lives.
class CapturedCout {
public:
    CapturedCout() : previous(std::cout.rdbuf(buffer.rdbuf())) {}
    ~CapturedCout() { std::cout.rdbuf(previous); }
    CapturedCout(const CapturedCout&) = delete;
    CapturedCout& operator=(const CapturedCout&) = delete;
    // Returns what was written since the last call.
    std::string take() {
        std::string text = buffer.str();
        buffer.str("");
        return text;
    }

private:
    std::ostringstream buffer;
    std::streambuf* previous;
};

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "wordgrid-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary directory from " + pattern);
        }
        path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;  // a destructor must not throw; leftovers in /tmp are harmless
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes `bytes` exactly as given to the file `name`; returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::filesystem::path file = path / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

    std::filesystem::path path;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
