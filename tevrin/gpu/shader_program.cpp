#include "tevrin/gpu/shader_program.h"

#include "tevrin/core/diagnostics.h"

#include <vector>

namespace tevrin {
namespace {

void trace_info_log(opengl::gl_handle object)
{
    const opengl::extension_functions& gl = opengl::extensions();
    GLint length = 0;
    gl.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    gl.glGetInfoLogARB(object, static_cast<GLsizei>(log.size()), nullptr, log.data());
    debug_trace("%s\n", log.data());
}

}  // namespace

void RequireShaderFunctions()
{
    const opengl::extension_functions& gl = opengl::extensions();
    opengl::require_functions(gl, {&gl.glCreateShaderObjectARB, &gl.glShaderSourceARB, &gl.glCompileShaderARB,
                                   &gl.glGetObjectParameterivARB, &gl.glGetInfoLogARB, &gl.glCreateProgramObjectARB,
                                   &gl.glAttachObjectARB, &gl.glLinkProgramARB});
}

opengl::gl_handle CompileShader(const char* source, GLenum type)
{
    RequireShaderFunctions();
    const opengl::extension_functions& gl = opengl::extensions();
    const opengl::gl_handle id = gl.glCreateShaderObjectARB(type);
    if (id == 0)
        return 0;
    gl.glShaderSourceARB(id, 1, &source, nullptr);
    gl.glCompileShaderARB(id);
    GLint compiled = 0;
    gl.glGetObjectParameterivARB(id, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    if (!compiled)
        trace_info_log(id);
    return id;
}

void LinkProgram(ShaderProgram& program, int count, opengl::gl_handle first, opengl::gl_handle second)
{
    RequireShaderFunctions();
    const opengl::extension_functions& gl = opengl::extensions();
    program.shaders.clear();
    program.id = gl.glCreateProgramObjectARB();
    gl.glAttachObjectARB(program.id, first);
    program.shaders.push_back(first);
    if (count > 1) {
        gl.glAttachObjectARB(program.id, second);
        program.shaders.push_back(second);
    }
    gl.glLinkProgramARB(program.id);
    GLint linked = 0;
    gl.glGetObjectParameterivARB(program.id, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (linked)
        program.linked = true;
    else
        trace_info_log(program.id);
}

}  // namespace tevrin
