// The extension table's loading rules, fed by a fake driver that answers every lookup
// with a distinct address: which groups are fetched for which GL_EXTENSIONS strings.
#include "tevrin/gpu/gl_extensions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tevrin::opengl;

TEST(ExtensionTable, EachGroupIsLoadedOnlyWhenItsExtensionsArePresentAsWholeTokens)
{
    const struct {
        const char* extensions;
        size_t lookups;
        bool multitexture, framebuffer, shaders;
    } rows[] = {{"", 2, false, false, false},
                {"GL_ARB_multitexture", 3, true, false, false},
                {"GL_ARB_multitexture_2 XGL_ARB_multitexture GL_ARB_multitexture", 3, true, false, false},
                {"GL_ARB_multitexture_2 GL_A,GL_ARB_multitexture", 2, false, false, false},
                {"GL_ARB_framebuffer_object", 19, false, true, false},
                {"GL_ARB_fragment_shader GL_ARB_multitexture", 3, true, false, false},
                {"GL_ARB_fragment_program", 2, false, false, false},
                {"GL_ARB_fragment_program GL_ARB_fragment_shader", 32, false, false, true}};
    for (const auto& row : rows) {
        struct {
            const char* extensions;
            std::vector<std::string> lookups;
        } driver{row.extensions, {}};
        extension_source source;
        source.extensionString = [&driver] { return driver.extensions; };
        source.functionAddress = [&driver](const char* name) -> void* {
            driver.lookups.push_back(name);
            return &driver.lookups.back();
        };
        extension_functions table;
        load_extensions(table, source);
        EXPECT_EQ(driver.lookups.size(), row.lookups) << row.extensions;
        EXPECT_NE(table.glUnlockArraysEXT, nullptr) << row.extensions;
        EXPECT_EQ(table.glActiveTextureARB != nullptr, row.multitexture) << row.extensions;
        EXPECT_EQ(table.glGenerateMipmapEXT != nullptr, row.framebuffer) << row.extensions;
        EXPECT_EQ(table.glCreateShaderObjectARB != nullptr, row.shaders) << row.extensions;
        EXPECT_EQ(table.glBufferDataARB != nullptr, row.shaders) << row.extensions;
    }
}
