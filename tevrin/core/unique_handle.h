#pragma once
// tevrin::unique_handle: sole ownership of one platform handle, released by its traits
// when the owner goes. Non-copyable, movable. Platform-free; the traits of the Windows
// handle kinds are in tevrin/core/windows_handles.h.
//
// Traits provide:
//   using handle_type = ...;
//   static constexpr handle_type invalid() noexcept;   // the "no handle" value
//   void close(handle_type handle) noexcept;            // may be static; may use state
// A traits object is stored with the handle, so a release that needs more than the
// handle (ReleaseDC needs the window) keeps that in the traits.
#include <utility>

namespace tevrin {

template <typename Traits>
class unique_handle {
public:
    using handle_type = typename Traits::handle_type;

    unique_handle() noexcept = default;
    explicit unique_handle(handle_type handle, Traits traits = Traits()) noexcept
        : handle_(handle), traits_(std::move(traits))
    {
    }
    ~unique_handle() { reset(); }

    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : handle_(other.release()), traits_(std::move(other.traits_)) {}
    unique_handle& operator=(unique_handle&& other) noexcept
    {
        if (this != &other) {
            reset(other.release());
            traits_ = std::move(other.traits_);
        }
        return *this;
    }

    handle_type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

    // Gives the handle up without releasing it.
    handle_type release() noexcept
    {
        const handle_type handle = handle_;
        handle_ = Traits::invalid();
        return handle;
    }

    // Releases the held handle, if any, and takes the given one.
    void reset(handle_type handle = Traits::invalid()) noexcept
    {
        const handle_type previous = handle_;
        handle_ = handle;
        if (previous != Traits::invalid())
            traits_.close(previous);
    }

private:
    handle_type handle_ = Traits::invalid();
    Traits traits_;
};

}  // namespace tevrin
