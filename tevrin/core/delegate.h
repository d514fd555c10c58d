#pragma once
// tevrin::delegate: a copyable, type-erased callable. Small targets (up to three
// pointers) live inside the delegate; larger ones on the heap. An empty delegate
// throws tevrin::empty_delegate_error when invoked.
#include "tevrin/core/exception.h"

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

namespace tevrin {

template <typename Signature>
class delegate;

template <typename R, typename... Args>
class delegate<R(Args...)> {
public:
    delegate() noexcept = default;

    template <typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, delegate>>>
    delegate(F&& target)  // NOLINT: implicit, so callers can pass lambdas where a delegate is wanted
    {
        assign(std::forward<F>(target));
    }

    delegate(const delegate& other) { copy_from(other); }
    delegate& operator=(const delegate& other)
    {
        if (this != &other) {
            reset();
            copy_from(other);
        }
        return *this;
    }
    ~delegate() { reset(); }

    R operator()(Args... args) const
    {
        if (!ops_)
            throw empty_delegate_error();
        return ops_->invoke(storage(), std::forward<Args>(args)...);
    }

    bool empty() const noexcept { return ops_ == nullptr; }
    explicit operator bool() const noexcept { return ops_ != nullptr; }

    void reset() noexcept
    {
        if (ops_)
            ops_->destroy(storage());
        ops_ = nullptr;
    }

private:
    static constexpr std::size_t inline_size = 3 * sizeof(void*);
    // Not std::max_align_t: x86 MinGW has two of them, GCC's stddef.h aligning it to 16
    // bytes and MinGW's to 8, and which one a file sees depends on what it included
    // first; the delegate, and every class that holds one, then had two layouts in one
    // program. The targets kept inline need no more than a pointer or a double.
    static constexpr std::size_t inline_alignment = alignof(double) > alignof(void*) ? alignof(double) : alignof(void*);

    struct operations {
        R (*invoke)(void* target, Args&&... args);
        void (*copy)(const void* from, void* to);
        void (*destroy)(void* target) noexcept;
    };

    template <typename F>
    static constexpr bool fits_inline =
        sizeof(F) <= inline_size && alignof(F) <= inline_alignment &&
        std::is_nothrow_copy_constructible_v<F>;

    template <typename F>
    struct inline_target {
        static R invoke(void* t, Args&&... args) { return (*static_cast<F*>(t))(std::forward<Args>(args)...); }
        static void copy(const void* from, void* to) { new (to) F(*static_cast<const F*>(from)); }
        static void destroy(void* t) noexcept { static_cast<F*>(t)->~F(); }
        static constexpr operations table{&invoke, &copy, &destroy};
    };

    template <typename F>
    struct heap_target {
        static F*& slot(void* t) { return *static_cast<F**>(t); }
        static R invoke(void* t, Args&&... args) { return (*slot(t))(std::forward<Args>(args)...); }
        static void copy(const void* from, void* to) { new (to) F*(new F(**static_cast<F* const*>(from))); }
        static void destroy(void* t) noexcept { delete slot(t); }
        static constexpr operations table{&invoke, &copy, &destroy};
    };

    template <typename F>
    void assign(F&& target)
    {
        using Target = std::decay_t<F>;
        if constexpr (fits_inline<Target>) {
            new (storage()) Target(std::forward<F>(target));
            ops_ = &inline_target<Target>::table;
        } else {
            new (storage()) Target*(new Target(std::forward<F>(target)));
            ops_ = &heap_target<Target>::table;
        }
    }

    void copy_from(const delegate& other)
    {
        if (other.ops_) {
            other.ops_->copy(other.storage(), storage());
            ops_ = other.ops_;
        }
    }

    void* storage() const noexcept { return const_cast<void*>(static_cast<const void*>(&buffer_)); }

    alignas(inline_alignment) unsigned char buffer_[inline_size] = {};
    const operations* ops_ = nullptr;
};

}  // namespace tevrin
