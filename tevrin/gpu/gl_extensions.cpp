#include "tevrin/gpu/gl_extensions.h"

#include <cstring>

namespace tevrin {
namespace opengl {
namespace {

extension_functions processTable;
bool processTableLoaded = false;

// Stores a looked-up address into a typed slot.
struct function_fetcher {
    const extension_source& source;

    template <typename Function>
    void operator()(Function& slot, const char* name) const
    {
        slot = reinterpret_cast<Function>(source.functionAddress(name));
    }
};

bool source_lists(const extension_source& source, const char* name)
{
    return has_extension_token(source.extensionString(), name);
}

void load_framebuffer_functions(extension_functions& t, const function_fetcher& fetch)
{
    // The names as the driver exports them: four renderbuffer functions without a suffix.
    fetch(t.glIsRenderbufferEXT, "glIsRenderbufferEXT");
    fetch(t.glBindRenderbuffer, "glBindRenderbuffer");
    fetch(t.glDeleteRenderbuffers, "glDeleteRenderbuffers");
    fetch(t.glGenRenderbuffers, "glGenRenderbuffers");
    fetch(t.glRenderbufferStorage, "glRenderbufferStorage");
    fetch(t.glGetRenderbufferParameterivEXT, "glGetRenderbufferParameterivEXT");
    fetch(t.glIsFramebufferEXT, "glIsFramebufferEXT");
    fetch(t.glBindFramebufferEXT, "glBindFramebufferEXT");
    fetch(t.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT");
    fetch(t.glGenFramebuffersEXT, "glGenFramebuffersEXT");
    fetch(t.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT");
    fetch(t.glFramebufferTexture1DEXT, "glFramebufferTexture1DEXT");
    fetch(t.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT");
    fetch(t.glFramebufferTexture3DEXT, "glFramebufferTexture3DEXT");
    fetch(t.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT");
    fetch(t.glGetFramebufferAttachmentParameterivEXT, "glGetFramebufferAttachmentParameterivEXT");
    fetch(t.glGenerateMipmapEXT, "glGenerateMipmapEXT");
}

void load_shader_object_functions(extension_functions& t, const function_fetcher& fetch)
{
    fetch(t.glCreateShaderObjectARB, "glCreateShaderObjectARB");
    fetch(t.glShaderSourceARB, "glShaderSourceARB");
    fetch(t.glCompileShaderARB, "glCompileShaderARB");
    fetch(t.glCreateProgramObjectARB, "glCreateProgramObjectARB");
    fetch(t.glAttachObjectARB, "glAttachObjectARB");
    fetch(t.glLinkProgramARB, "glLinkProgramARB");
    fetch(t.glUseProgramObjectARB, "glUseProgramObjectARB");
    fetch(t.glGetObjectParameterivARB, "glGetObjectParameterivARB");
    fetch(t.glGetInfoLogARB, "glGetInfoLogARB");
    fetch(t.glDetachObjectARB, "glDetachObjectARB");
    fetch(t.glGetUniformLocationARB, "glGetUniformLocationARB");
    fetch(t.glUniform1iARB, "glUniform1iARB");
    fetch(t.glUniform1fARB, "glUniform1fARB");
    fetch(t.glUniform3fARB, "glUniform3fARB");
    fetch(t.glUniform4fARB, "glUniform4fARB");
    fetch(t.glUniform1fvARB, "glUniform1fvARB");
    fetch(t.glUniform2fvARB, "glUniform2fvARB");
    fetch(t.glUniform3fvARB, "glUniform3fvARB");
    fetch(t.glUniform4fvARB, "glUniform4fvARB");
    fetch(t.glUniformMatrix4fvARB, "glUniformMatrix4fvARB");
    fetch(t.glDetachObjectARB2, "glDetachObjectARB");
    fetch(t.glDeleteObjectARB, "glDeleteObjectARB");
    fetch(t.glDeleteObjectARB2, "glDeleteObjectARB");
    fetch(t.glEnableVertexAttribArrayARB, "glEnableVertexAttribArrayARB");
    fetch(t.glVertexAttribPointerARB, "glVertexAttribPointerARB");
    fetch(t.glGetAttribLocationARB, "glGetAttribLocationARB");
    fetch(t.glBindBufferARB, "glBindBufferARB");
    fetch(t.glGenBuffersARB, "glGenBuffersARB");
    fetch(t.glDeleteBuffersARB, "glDeleteBuffersARB");
    fetch(t.glBufferDataARB, "glBufferDataARB");
}

extension_source current_context_source()
{
    extension_source source;
    source.extensionString = [] { return reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)); };
    source.functionAddress = [](const char* name) { return reinterpret_cast<void*>(wglGetProcAddress(name)); };
    return source;
}

bool is_token_boundary_before(const char* list, const char* match)
{
    return match == list || match[-1] == ' ';
}

bool is_token_boundary_after(const char* end)
{
    return *end == ' ' || *end == '\0';
}

}  // namespace

extension_functions& extensions()
{
    return processTable;
}

bool extensions_loaded()
{
    return processTableLoaded;
}

void load_extensions_once()
{
    if (processTableLoaded)
        return;
    load_extensions(processTable, current_context_source());
    processTableLoaded = true;
}

void load_extensions(extension_functions& table, const extension_source& source)
{
    const function_fetcher fetch{source};
    fetch(table.glLockArraysEXT, "glLockArraysEXT");
    fetch(table.glUnlockArraysEXT, "glUnlockArraysEXT");
    if (source_lists(source, "GL_ARB_multitexture"))
        fetch(table.glActiveTextureARB, "glActiveTextureARB");
    if (source_lists(source, "GL_ARB_framebuffer_object"))
        load_framebuffer_functions(table, fetch);
    if (source_lists(source, "GL_ARB_fragment_shader") && source_lists(source, "GL_ARB_fragment_program"))
        load_shader_object_functions(table, fetch);
}

bool has_extension_token(const char* list, const char* name)
{
    if (!list || !name || !*name)
        return false;
    const size_t length = std::strlen(name);
    for (const char* match = std::strstr(list, name); match; match = std::strstr(match + length, name)) {
        if (is_token_boundary_before(list, match) && is_token_boundary_after(match + length))
            return true;
    }
    return false;
}

}  // namespace opengl

bool HasExtension(const char* name)
{
    return opengl::has_extension_token(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

}  // namespace tevrin
