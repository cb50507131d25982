// The generated assets as the build leaves them: <build>/assets and <build>/adatok.vbf.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kxtest {

inline const std::vector<std::string>& PictureNames() {
    static const std::vector<std::string> names{"wood.bmp",    "wood2.bmp", "help.bmp", "backg.bmp",
                                                "menujel.bmp", "menu.bmp",  "pc.bmp",   "ember.bmp",
                                                "iq.bmp",      "jelol.bmp", "ures.bmp"};
    return names;
}

inline std::string AssetPath(const std::string& name) {
    return std::string(KX_BINARY_DIR) + "/assets/" + name;
}

// The whole file, or an empty vector with a test failure when it can't be read.
inline std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

} // namespace kxtest
