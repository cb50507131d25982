// A program folder with its Temp workspace and a hidden GL context, for texture and asset tests.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "archive/workspace.h"
#include "engine/store.h"
#include "tests/unit/archive/archive_fixture.h"
#include "tests/unit/engine/bmp_files.h"

namespace kxtest {

class GlWorkspaceTest : public ScratchTest {
  protected:
    void SetUp() override {
        ScratchTest::SetUp();
        engine::EngineInit();
        ASSERT_TRUE(platform::testing::OpenHiddenGlWindow(64, 64));
        SetUpPortableWorkspace(dir_);
    }
    void TearDown() override {
        archive::TearDownWorkspace();
        archive::state.ExeFileName.clear();
        platform::testing::ResetDouble();
        ScratchTest::TearDown();
    }

    std::filesystem::path Temp() const { return dir_ / "Temp"; }

    // The archive "adatok.vbf" in the program's folder, members given as bytes.
    void WriteArchive(const std::vector<std::pair<std::string, Bytes>>& members) {
        std::vector<std::pair<std::string, std::string>> text;
        for (const auto& [name, bytes] : members)
            text.emplace_back(name, std::string(bytes.begin(), bytes.end()));
        WriteBytes(dir_ / "adatok.vbf", Archive(text));
    }
};

inline GLint TextureLevelWidth(GLuint name, int level) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
    return width;
}

} // namespace kxtest
