#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

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

// The words of a word list's text, as the program should read them: its
// lines, without a CR before their line end or a UTF-8 byte-order mark before
// the first.
inline std::vector<std::string> wordsOf(const std::string& listText) {
    const std::string byteOrderMark = "\xEF\xBB\xBF";
    std::istringstream lines(listText.rfind(byteOrderMark, 0) == 0 ? listText.substr(byteOrderMark.size())
                                                                   : listText);
    std::vector<std::string> words;
    for (std::string word; std::getline(lines, word);) {
        if (!word.empty() && word.back() == '\r') {
            word.pop_back();
        }
        words.push_back(word);
    }
    return words;
}
