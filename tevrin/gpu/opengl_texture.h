#pragma once
// A texture created by an OpenGL context. Its destructor deletes the GL name only while
// the context's IsAlive delegate says the drawing surface still exists.
#include "tevrin/gpu/texture.h"

namespace tevrin {

class OpenGLTexture : public ITexture {
public:
    explicit OpenGLTexture(IGpuContext* owner);
    ~OpenGLTexture() override;

    std::pair<i32, i32> GetSize() const override;
    void Update() override;
    u32 Read() override;

private:
    void DeleteGlName() noexcept;
};

}  // namespace tevrin
