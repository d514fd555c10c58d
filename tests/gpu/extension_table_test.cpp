// The extension table's loading rules, fed by a fake driver: which groups are fetched
// for which GL_EXTENSIONS strings, under which names, and the whole-token match.
#include "tevrin/gpu/gl_extensions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tevrin;
using namespace tevrin::opengl;

namespace {

// Answers every lookup with a distinct non-null address and records the names asked for.
struct FakeDriver {
    std::string extensionList;
    std::vector<std::string> lookups;
    std::vector<char> addresses = std::vector<char>(256);

    extension_source Source()
    {
        extension_source source;
        source.extensionString = [this] { return extensionList.c_str(); };
        source.functionAddress = [this](const char* name) -> void* {
            lookups.push_back(name);
            return &addresses[lookups.size()];
        };
        return source;
    }
};

const std::vector<std::string> framebufferNames = {
    "glIsRenderbufferEXT", "glBindRenderbuffer", "glDeleteRenderbuffers", "glGenRenderbuffers",
    "glRenderbufferStorage", "glGetRenderbufferParameterivEXT", "glIsFramebufferEXT", "glBindFramebufferEXT",
    "glDeleteFramebuffersEXT", "glGenFramebuffersEXT", "glCheckFramebufferStatusEXT", "glFramebufferTexture1DEXT",
    "glFramebufferTexture2DEXT", "glFramebufferTexture3DEXT", "glFramebufferRenderbufferEXT",
    "glGetFramebufferAttachmentParameterivEXT", "glGenerateMipmapEXT"};

}  // namespace

TEST(ExtensionToken, MatchesOnlyWholeTokens)
{
    EXPECT_TRUE(has_extension_token("GL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_TRUE(has_extension_token("GL_A GL_ARB_multitexture GL_B", "GL_ARB_multitexture"));
    EXPECT_TRUE(has_extension_token("GL_A GL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_FALSE(has_extension_token("GL_ARB_multitexture_plus", "GL_ARB_multitexture"));
    EXPECT_FALSE(has_extension_token("XGL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_FALSE(has_extension_token("GL_A,GL_ARB_multitexture", "GL_ARB_multitexture"));
    EXPECT_FALSE(has_extension_token("", "GL_ARB_multitexture"));
    EXPECT_FALSE(has_extension_token(nullptr, "GL_ARB_multitexture"));
}

TEST(ExtensionToken, AFailedMatchDoesNotHideALaterWholeToken)
{
    EXPECT_TRUE(has_extension_token("GL_ARB_multitexture2 XGL_ARB_multitexture GL_ARB_multitexture",
                                    "GL_ARB_multitexture"));
    EXPECT_FALSE(has_extension_token("GL_ARB_multitexture2 XGL_ARB_multitexture GL_ARB_multitexture_",
                                     "GL_ARB_multitexture"));
}

TEST(ExtensionLoading, WithoutExtensionsOnlyTheArrayLocksAreFetched)
{
    FakeDriver driver;
    driver.extensionList = "GL_EXT_bgra";
    extension_functions table;
    load_extensions(table, driver.Source());
    EXPECT_EQ(driver.lookups, (std::vector<std::string>{"glLockArraysEXT", "glUnlockArraysEXT"}));
    EXPECT_NE(table.glLockArraysEXT, nullptr);
    EXPECT_NE(table.glUnlockArraysEXT, nullptr);
    EXPECT_EQ(table.glActiveTextureARB, nullptr);
    EXPECT_EQ(table.glCreateShaderObjectARB, nullptr);
    EXPECT_EQ(table.glGenerateMipmapEXT, nullptr);
}

TEST(ExtensionLoading, MultitextureFoundAfterAPrefixMatchIsLoaded)
{
    FakeDriver driver;
    driver.extensionList = "GL_ARB_multitexture_extra GL_ARB_multitexture";
    extension_functions table;
    load_extensions(table, driver.Source());
    EXPECT_NE(table.glActiveTextureARB, nullptr);
    EXPECT_EQ(driver.lookups.back(), "glActiveTextureARB");
}

TEST(ExtensionLoading, MultitextureOnlyInsideLongerTokensIsNotLoaded)
{
    FakeDriver driver;
    driver.extensionList = "GL_ARB_multitexture_extra MY_GL_ARB_multitexture";
    extension_functions table;
    load_extensions(table, driver.Source());
    EXPECT_EQ(table.glActiveTextureARB, nullptr);
    EXPECT_EQ(driver.lookups.size(), 2u);
}

TEST(ExtensionLoading, FramebufferGroupFetchesItsNamesInOrder)
{
    FakeDriver driver;
    driver.extensionList = "GL_ARB_framebuffer_object";
    extension_functions table;
    load_extensions(table, driver.Source());
    ASSERT_EQ(driver.lookups.size(), 2 + framebufferNames.size());
    EXPECT_EQ(std::vector<std::string>(driver.lookups.begin() + 2, driver.lookups.end()), framebufferNames);
    EXPECT_NE(table.glBindRenderbuffer, nullptr);
    EXPECT_NE(table.glGenerateMipmapEXT, nullptr);
    EXPECT_EQ(table.glCreateShaderObjectARB, nullptr);
}

TEST(ExtensionLoading, ShaderGroupNeedsBothFragmentShaderAndFragmentProgram)
{
    FakeDriver shaderOnly;
    shaderOnly.extensionList = "GL_ARB_fragment_shader GL_ARB_multitexture";
    extension_functions table;
    load_extensions(table, shaderOnly.Source());
    EXPECT_EQ(table.glCreateShaderObjectARB, nullptr);
    EXPECT_EQ(table.glBufferDataARB, nullptr);
    EXPECT_EQ(table.glUseProgramObjectARB, nullptr);
    EXPECT_NE(table.glActiveTextureARB, nullptr);

    FakeDriver programOnly;
    programOnly.extensionList = "GL_ARB_fragment_program";
    load_extensions(table, programOnly.Source());
    EXPECT_EQ(table.glCreateShaderObjectARB, nullptr);
}

TEST(ExtensionLoading, ShaderGroupFetchesDuplicateSlotsUnderTheSameNames)
{
    FakeDriver driver;
    driver.extensionList = "GL_ARB_fragment_program GL_ARB_fragment_shader";
    extension_functions table;
    load_extensions(table, driver.Source());
    ASSERT_EQ(driver.lookups.size(), 2u + 30u);
    EXPECT_EQ(driver.lookups[2], "glCreateShaderObjectARB");
    EXPECT_EQ(driver.lookups[2 + 20], "glDetachObjectARB");
    EXPECT_EQ(driver.lookups[2 + 21], "glDeleteObjectARB");
    EXPECT_EQ(driver.lookups[2 + 22], "glDeleteObjectARB");
    EXPECT_EQ(driver.lookups.back(), "glBufferDataARB");
    // Each slot holds the address returned for its own lookup.
    EXPECT_NE(reinterpret_cast<void*>(table.glDetachObjectARB), reinterpret_cast<void*>(table.glDetachObjectARB2));
    EXPECT_NE(table.glDeleteObjectARB2, nullptr);
    EXPECT_NE(table.glBufferDataARB, nullptr);
}
