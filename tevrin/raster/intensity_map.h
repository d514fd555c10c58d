#pragma once
// Rectangular rasters of intensities 0.0 .. 1.0 stored at 1, 2, 4, 8, 16 or 32 bits
// per pixel. Rows are `row_bytes()` apart; pixel storage comes from malloc and belongs
// to the map. Pixel access does no bounds checks: callers keep x and y inside the map.
#include "tevrin/core/types.h"

#include <cstdlib>
#include <memory>

namespace tevrin {

class intensity_map {
public:
    intensity_map() = default;
    intensity_map(const intensity_map&) = delete;
    intensity_map& operator=(const intensity_map&) = delete;
    virtual ~intensity_map() = default;

    // Discards any old pixels; the new ones are uninitialised. A failed allocation
    // is silent and leaves `data()` null.
    virtual void create(i32 width, i32 height) = 0;
    virtual i32 bit_depth() const = 0;
    virtual i32 width() const { return width_; }
    virtual i32 height() const { return height_; }
    virtual f32 get(i32 x, i32 y) const = 0;
    virtual void set(i32 x, i32 y, f32 value) = 0;
    virtual void fill(f32 value);
    // Throws invalid_argument when the sizes differ; takes the source's user value.
    virtual void copy_from(const intensity_map& source);
    virtual bool is_valid() const;
    virtual u8* data() const = 0;
    virtual u32 user_value() const { return userValue_; }
    virtual void set_user_value(u32 value) { userValue_ = value; }

    i32 row_bytes() const { return rowBytes_; }
    i32 data_size() const { return dataSize_; }

protected:
    // The allocation that every depth shares; returns whether storage was obtained.
    bool allocate(i32 width, i32 height, i32 rowBytes);
    void free_storage() { storage_.reset(); }
    u8* storage() const { return storage_.get(); }
    u8* row(i32 y) const { return storage_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes_); }
    void clear_width() { width_ = 0; }
    void clear_data_size() { dataSize_ = 0; }

private:
    struct free_deleter {
        void operator()(u8* bytes) const { std::free(bytes); }
    };

    i32 width_ = 0;
    i32 height_ = 0;
    i32 rowBytes_ = 0;
    i32 dataSize_ = 0;
    u32 userValue_ = 0;
    std::unique_ptr<u8, free_deleter> storage_;
};

class intensity_map1 : public intensity_map {
public:
    void create(i32 width, i32 height) override;
    i32 bit_depth() const override { return 1; }
    f32 get(i32 x, i32 y) const override;
    void set(i32 x, i32 y, f32 value) override;
    u8* data() const override { return storage(); }
    virtual void set_bit(i32 x, i32 y, bool on);
    virtual void release() { free_storage(); }
};

class intensity_map2 : public intensity_map {
public:
    void create(i32 width, i32 height) override;
    i32 bit_depth() const override { return 2; }
    f32 get(i32 x, i32 y) const override;
    void set(i32 x, i32 y, f32 value) override;
    u8* data() const override { return storage(); }
    virtual void release() { free_storage(); }
};

class intensity_map4 : public intensity_map {
public:
    void create(i32 width, i32 height) override;
    i32 bit_depth() const override { return 4; }
    f32 get(i32 x, i32 y) const override;
    void set(i32 x, i32 y, f32 value) override;
    u8* data() const override { return storage(); }
    virtual void release() { free_storage(); }
};

class intensity_map8 : public intensity_map {
public:
    void create(i32 width, i32 height) override;
    i32 bit_depth() const override { return 8; }
    f32 get(i32 x, i32 y) const override;
    void set(i32 x, i32 y, f32 value) override;
    bool is_valid() const override;
    u8* data() const override { return storage(); }
    virtual void release() { free_storage(); }
};

class intensity_map16 : public intensity_map {
public:
    void create(i32 width, i32 height) override;
    i32 bit_depth() const override { return 16; }
    f32 get(i32 x, i32 y) const override;
    void set(i32 x, i32 y, f32 value) override;
    bool is_valid() const override;
    u8* data() const override { return storage(); }
    // Also forgets the width and the data size, unlike the narrower depths.
    virtual void release();
};

class intensity_map32 : public intensity_map {
public:
    void create(i32 width, i32 height) override;
    i32 bit_depth() const override { return 32; }
    f32 get(i32 x, i32 y) const override;
    void set(i32 x, i32 y, f32 value) override;
    // Writes the float into every 32-bit word, so 1.0 is not the all-ones pattern.
    void fill(f32 value) override;
    u8* data() const override { return storage(); }
    // Also forgets the width.
    virtual void release();
};

// The map with the smallest depth that holds `bits` bits per pixel; no storage yet.
// Throws invalid_argument above 32 bits; 0 and below give a 4-bit map.
std::unique_ptr<intensity_map> make_intensity_map(i32 bits);

}  // namespace tevrin
