#pragma once
// Compiling shaders and linking programs through the extension table's shader-object
// functions. Compile and link failures are not thrown: the driver's info log goes to the
// debugger output and the caller gets the ids all the same. A driver without the
// shader-object functions is thrown as a general_error.
#include "tevrin/gpu/gl_extensions.h"

#include <vector>

namespace tevrin {

struct ShaderProgram {
    std::vector<opengl::gl_handle> shaders;  // attached, in attach order
    opengl::gl_handle id = 0;
    bool linked = false;
};

// The shader object's id, or 0 when no object could be created. type is the GL shader
// type (GL_VERTEX_SHADER_ARB, GL_FRAGMENT_SHADER_ARB).
opengl::gl_handle CompileShader(const char* source, GLenum type);

// Creates program.id, attaches first and (when count > 1) second, links.
void LinkProgram(ShaderProgram& program, int count, opengl::gl_handle first, opengl::gl_handle second);

// Throws general_error naming the first function that CompileShader or LinkProgram
// calls and the process-wide extension table lacks. Both check this themselves.
void RequireShaderFunctions();

}  // namespace tevrin
