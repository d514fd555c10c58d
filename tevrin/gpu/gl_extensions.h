#pragma once
// The process-wide table of OpenGL extension functions, fetched once by the first
// OpenGL context of the process, and the whole-token extension test.
#include "tevrin/core/delegate.h"
#include "tevrin/gpu/gl_api.h"

#include <cstddef>
#include <initializer_list>

namespace tevrin {
namespace opengl {

// A shader or program object of the ARB shader-object extension.
using gl_handle = unsigned int;

// One slot per fetched function, named as it is fetched; null until loaded or when
// the driver lacks the extension.
struct extension_functions {
    void(APIENTRY* glLockArraysEXT)(GLint first, GLsizei count) = nullptr;
    void(APIENTRY* glUnlockArraysEXT)() = nullptr;

    void(APIENTRY* glActiveTextureARB)(GLenum unit) = nullptr;

    GLboolean(APIENTRY* glIsRenderbufferEXT)(GLuint renderbuffer) = nullptr;
    void(APIENTRY* glBindRenderbuffer)(GLenum target, GLuint renderbuffer) = nullptr;
    void(APIENTRY* glDeleteRenderbuffers)(GLsizei count, const GLuint* renderbuffers) = nullptr;
    void(APIENTRY* glGenRenderbuffers)(GLsizei count, GLuint* renderbuffers) = nullptr;
    void(APIENTRY* glRenderbufferStorage)(GLenum target, GLenum format, GLsizei width, GLsizei height) = nullptr;
    void(APIENTRY* glGetRenderbufferParameterivEXT)(GLenum target, GLenum parameter, GLint* values) = nullptr;
    GLboolean(APIENTRY* glIsFramebufferEXT)(GLuint framebuffer) = nullptr;
    void(APIENTRY* glBindFramebufferEXT)(GLenum target, GLuint framebuffer) = nullptr;
    void(APIENTRY* glDeleteFramebuffersEXT)(GLsizei count, const GLuint* framebuffers) = nullptr;
    void(APIENTRY* glGenFramebuffersEXT)(GLsizei count, GLuint* framebuffers) = nullptr;
    GLenum(APIENTRY* glCheckFramebufferStatusEXT)(GLenum target) = nullptr;
    void(APIENTRY* glFramebufferTexture1DEXT)(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture,
                                              GLint level) = nullptr;
    void(APIENTRY* glFramebufferTexture2DEXT)(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture,
                                              GLint level) = nullptr;
    void(APIENTRY* glFramebufferTexture3DEXT)(GLenum target, GLenum attachment, GLenum textureTarget, GLuint texture,
                                              GLint level, GLint zOffset) = nullptr;
    void(APIENTRY* glFramebufferRenderbufferEXT)(GLenum target, GLenum attachment, GLenum renderbufferTarget,
                                                 GLuint renderbuffer) = nullptr;
    void(APIENTRY* glGetFramebufferAttachmentParameterivEXT)(GLenum target, GLenum attachment, GLenum parameter,
                                                             GLint* values) = nullptr;
    void(APIENTRY* glGenerateMipmapEXT)(GLenum target) = nullptr;

    gl_handle(APIENTRY* glCreateShaderObjectARB)(GLenum type) = nullptr;
    void(APIENTRY* glShaderSourceARB)(gl_handle shader, GLsizei count, const char** sources,
                                      const GLint* lengths) = nullptr;
    void(APIENTRY* glCompileShaderARB)(gl_handle shader) = nullptr;
    gl_handle(APIENTRY* glCreateProgramObjectARB)() = nullptr;
    void(APIENTRY* glAttachObjectARB)(gl_handle program, gl_handle shader) = nullptr;
    void(APIENTRY* glLinkProgramARB)(gl_handle program) = nullptr;
    void(APIENTRY* glUseProgramObjectARB)(gl_handle program) = nullptr;
    void(APIENTRY* glGetObjectParameterivARB)(gl_handle object, GLenum parameter, GLint* values) = nullptr;
    void(APIENTRY* glGetInfoLogARB)(gl_handle object, GLsizei capacity, GLsizei* length, char* log) = nullptr;
    void(APIENTRY* glDetachObjectARB)(gl_handle program, gl_handle shader) = nullptr;
    GLint(APIENTRY* glGetUniformLocationARB)(gl_handle program, const char* name) = nullptr;
    void(APIENTRY* glUniform1iARB)(GLint location, GLint value) = nullptr;
    void(APIENTRY* glUniform1fARB)(GLint location, GLfloat value) = nullptr;
    void(APIENTRY* glUniform3fARB)(GLint location, GLfloat x, GLfloat y, GLfloat z) = nullptr;
    void(APIENTRY* glUniform4fARB)(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) = nullptr;
    void(APIENTRY* glUniform1fvARB)(GLint location, GLsizei count, const GLfloat* values) = nullptr;
    void(APIENTRY* glUniform2fvARB)(GLint location, GLsizei count, const GLfloat* values) = nullptr;
    void(APIENTRY* glUniform3fvARB)(GLint location, GLsizei count, const GLfloat* values) = nullptr;
    void(APIENTRY* glUniform4fvARB)(GLint location, GLsizei count, const GLfloat* values) = nullptr;
    void(APIENTRY* glUniformMatrix4fvARB)(GLint location, GLsizei count, GLboolean transpose,
                                          const GLfloat* values) = nullptr;
    void(APIENTRY* glDetachObjectARB2)(gl_handle program, gl_handle shader) = nullptr;
    void(APIENTRY* glDeleteObjectARB)(gl_handle object) = nullptr;
    void(APIENTRY* glDeleteObjectARB2)(gl_handle object) = nullptr;
    void(APIENTRY* glEnableVertexAttribArrayARB)(GLuint index) = nullptr;
    void(APIENTRY* glVertexAttribPointerARB)(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                             GLsizei stride, const void* pointer) = nullptr;
    GLint(APIENTRY* glGetAttribLocationARB)(gl_handle program, const char* name) = nullptr;
    void(APIENTRY* glBindBufferARB)(GLenum target, GLuint buffer) = nullptr;
    void(APIENTRY* glGenBuffersARB)(GLsizei count, GLuint* buffers) = nullptr;
    void(APIENTRY* glDeleteBuffersARB)(GLsizei count, const GLuint* buffers) = nullptr;
    void(APIENTRY* glBufferDataARB)(GLenum target, std::ptrdiff_t size, const void* data, GLenum usage) = nullptr;
};

// Where the loader gets its facts: the current GL_EXTENSIONS string (asked afresh for
// every group) and the address of a function by name.
struct extension_source {
    delegate<const char*()> extensionString;
    delegate<void*(const char*)> functionAddress;
};

// The table every context shares.
extension_functions& extensions();

// Whether the process-wide table has been filled.
bool extensions_loaded();

// Fills the process-wide table from the current context unless that already happened.
void load_extensions_once();

// Fills table group by group: the two array-lock functions always, the others when
// their extensions are listed.
void load_extensions(extension_functions& table, const extension_source& source);

// Throws general_error ("can't find glXxx function") for the first slot of table, in
// loading order, that required names and that holds no function. Callers check every
// function they will call before they call any, so that a driver without one of them
// ends in an error report rather than a call through null.
//   require_functions(table, {&table.glGenBuffersARB, &table.glBindBufferARB});
void require_functions(const extension_functions& table, std::initializer_list<const void*> required);

// True when name is a whole blank-separated token of list.
bool has_extension_token(const char* list, const char* name);

}  // namespace opengl

// Tests the current context's GL_EXTENSIONS for name as a whole token.
bool HasExtension(const char* name);

}  // namespace tevrin
