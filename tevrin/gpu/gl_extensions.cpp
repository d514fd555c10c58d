#include "tevrin/gpu/gl_extensions.h"

#include "tevrin/core/exception.h"

#include <algorithm>
#include <cstring>
#include <forward_list>
#include <string>

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

// Finds the first of the required slots that holds no function.
struct missing_function_finder {
    std::initializer_list<const void*> required;
    const char* missing = nullptr;

    template <typename Function>
    void operator()(const Function& slot, const char* name)
    {
        if (missing || slot)
            return;
        if (std::find(required.begin(), required.end(), static_cast<const void*>(&slot)) != required.end())
            missing = name;
    }
};

// general_error keeps only a pointer to its text, so every text lives as long as the process.
const char* missing_function_text(const char* name)
{
    static std::forward_list<std::string> texts;
    const std::string text = std::string("can't find ") + name + " function";
    for (const std::string& known : texts)
        if (known == text)
            return known.c_str();
    texts.push_front(text);
    return texts.front().c_str();
}

// Each group's slots with the names they are fetched under, in loading order: the
// loader fetches through these lists and require_functions names missing slots from them.
template <typename Table, typename Visitor>
void visit_array_lock_functions(Table& t, Visitor& visit)
{
    visit(t.glLockArraysEXT, "glLockArraysEXT");
    visit(t.glUnlockArraysEXT, "glUnlockArraysEXT");
}

template <typename Table, typename Visitor>
void visit_multitexture_functions(Table& t, Visitor& visit)
{
    visit(t.glActiveTextureARB, "glActiveTextureARB");
}

bool source_lists(const extension_source& source, const char* name)
{
    return has_extension_token(source.extensionString(), name);
}

template <typename Table, typename Visitor>
void visit_framebuffer_functions(Table& t, Visitor& visit)
{
    // The names as the driver exports them: four renderbuffer functions without a suffix.
    visit(t.glIsRenderbufferEXT, "glIsRenderbufferEXT");
    visit(t.glBindRenderbuffer, "glBindRenderbuffer");
    visit(t.glDeleteRenderbuffers, "glDeleteRenderbuffers");
    visit(t.glGenRenderbuffers, "glGenRenderbuffers");
    visit(t.glRenderbufferStorage, "glRenderbufferStorage");
    visit(t.glGetRenderbufferParameterivEXT, "glGetRenderbufferParameterivEXT");
    visit(t.glIsFramebufferEXT, "glIsFramebufferEXT");
    visit(t.glBindFramebufferEXT, "glBindFramebufferEXT");
    visit(t.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT");
    visit(t.glGenFramebuffersEXT, "glGenFramebuffersEXT");
    visit(t.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT");
    visit(t.glFramebufferTexture1DEXT, "glFramebufferTexture1DEXT");
    visit(t.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT");
    visit(t.glFramebufferTexture3DEXT, "glFramebufferTexture3DEXT");
    visit(t.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT");
    visit(t.glGetFramebufferAttachmentParameterivEXT, "glGetFramebufferAttachmentParameterivEXT");
    visit(t.glGenerateMipmapEXT, "glGenerateMipmapEXT");
}

template <typename Table, typename Visitor>
void visit_shader_object_functions(Table& t, Visitor& visit)
{
    visit(t.glCreateShaderObjectARB, "glCreateShaderObjectARB");
    visit(t.glShaderSourceARB, "glShaderSourceARB");
    visit(t.glCompileShaderARB, "glCompileShaderARB");
    visit(t.glCreateProgramObjectARB, "glCreateProgramObjectARB");
    visit(t.glAttachObjectARB, "glAttachObjectARB");
    visit(t.glLinkProgramARB, "glLinkProgramARB");
    visit(t.glUseProgramObjectARB, "glUseProgramObjectARB");
    visit(t.glGetObjectParameterivARB, "glGetObjectParameterivARB");
    visit(t.glGetInfoLogARB, "glGetInfoLogARB");
    visit(t.glDetachObjectARB, "glDetachObjectARB");
    visit(t.glGetUniformLocationARB, "glGetUniformLocationARB");
    visit(t.glUniform1iARB, "glUniform1iARB");
    visit(t.glUniform1fARB, "glUniform1fARB");
    visit(t.glUniform3fARB, "glUniform3fARB");
    visit(t.glUniform4fARB, "glUniform4fARB");
    visit(t.glUniform1fvARB, "glUniform1fvARB");
    visit(t.glUniform2fvARB, "glUniform2fvARB");
    visit(t.glUniform3fvARB, "glUniform3fvARB");
    visit(t.glUniform4fvARB, "glUniform4fvARB");
    visit(t.glUniformMatrix4fvARB, "glUniformMatrix4fvARB");
    visit(t.glDetachObjectARB2, "glDetachObjectARB");
    visit(t.glDeleteObjectARB, "glDeleteObjectARB");
    visit(t.glDeleteObjectARB2, "glDeleteObjectARB");
    visit(t.glEnableVertexAttribArrayARB, "glEnableVertexAttribArrayARB");
    visit(t.glVertexAttribPointerARB, "glVertexAttribPointerARB");
    visit(t.glGetAttribLocationARB, "glGetAttribLocationARB");
    visit(t.glBindBufferARB, "glBindBufferARB");
    visit(t.glGenBuffersARB, "glGenBuffersARB");
    visit(t.glDeleteBuffersARB, "glDeleteBuffersARB");
    visit(t.glBufferDataARB, "glBufferDataARB");
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
    visit_array_lock_functions(table, fetch);
    if (source_lists(source, "GL_ARB_multitexture"))
        visit_multitexture_functions(table, fetch);
    if (source_lists(source, "GL_ARB_framebuffer_object"))
        visit_framebuffer_functions(table, fetch);
    if (source_lists(source, "GL_ARB_fragment_shader") && source_lists(source, "GL_ARB_fragment_program"))
        visit_shader_object_functions(table, fetch);
}

void require_functions(const extension_functions& table, std::initializer_list<const void*> required)
{
    missing_function_finder finder{required};
    visit_array_lock_functions(table, finder);
    visit_multitexture_functions(table, finder);
    visit_framebuffer_functions(table, finder);
    visit_shader_object_functions(table, finder);
    if (finder.missing)
        throw general_error(missing_function_text(finder.missing));
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
