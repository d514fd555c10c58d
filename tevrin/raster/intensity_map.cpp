#include "tevrin/raster/intensity_map.h"

#include "tevrin/core/exception.h"

#include <cstring>
#include <limits>

namespace tevrin {

namespace {

// Scales in single precision, then rounds half up in double, so that every depth
// stores exactly the same field for the same float.
i64 round_scaled(f32 value, f32 scale)
{
    return static_cast<i64>(static_cast<f64>(value * scale) + 0.5);
}

i32 checked_row_bytes(i64 rowBytes)
{
    if (rowBytes > std::numeric_limits<i32>::max())
        throw invalid_argument();
    return static_cast<i32>(rowBytes);
}

u16 load_word(const u8* at)
{
    u16 word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

void store_word(u8* at, u16 word)
{
    std::memcpy(at, &word, sizeof word);
}

}  // namespace

bool intensity_map::allocate(i32 width, i32 height, i32 rowBytes)
{
    if (width < 0 || height < 0)
        throw invalid_argument();
    const i64 size = (static_cast<i64>(rowBytes) * height + 3) & ~static_cast<i64>(3);
    if (size > std::numeric_limits<i32>::max())
        throw invalid_argument();

    storage_.reset();
    if (size != 0)
        storage_.reset(static_cast<u8*>(std::malloc(static_cast<std::size_t>(size))));
    height_ = height;
    width_ = width;
    dataSize_ = static_cast<i32>(size);
    rowBytes_ = rowBytes;
    return storage_ != nullptr;
}

void intensity_map::fill(f32 value)
{
    if (!storage_)
        return;
    if (value == 0.0f || value == 1.0f) {
        std::memset(storage_.get(), value == 0.0f ? 0x00 : 0xFF, static_cast<std::size_t>(dataSize_));
        return;
    }
    for (i32 y = 0; y < height(); ++y)
        for (i32 x = 0; x < width(); ++x)
            set(x, y, value);
}

void intensity_map::copy_from(const intensity_map& source)
{
    if (source.width() != width() || source.height() != height())
        throw invalid_argument();
    if (source.bit_depth() == bit_depth()) {
        if (storage_ && source.data() && dataSize_ == source.data_size())
            std::memcpy(storage_.get(), source.data(), static_cast<std::size_t>(dataSize_));
    } else {
        for (i32 y = 0; y < height(); ++y)
            for (i32 x = 0; x < width(); ++x)
                set(x, y, source.get(x, y));
    }
    userValue_ = source.user_value();
}

bool intensity_map::is_valid() const
{
    return width() != 0 && height() != 0 && storage_ && rowBytes_ != 0 && dataSize_ != 0;
}

// 1 bit: eight pixels per byte, the leftmost in the most significant bit.

void intensity_map1::create(i32 width, i32 height)
{
    allocate(width, height, checked_row_bytes((static_cast<i64>(width) + 7) / 8));
}

f32 intensity_map1::get(i32 x, i32 y) const
{
    return (row(y)[x / 8] & (0x80 >> (x % 8))) != 0 ? 1.0f : 0.0f;
}

void intensity_map1::set(i32 x, i32 y, f32 value)
{
    set_bit(x, y, value >= 0.5f);
}

void intensity_map1::set_bit(i32 x, i32 y, bool on)
{
    u8& byte = row(y)[x / 8];
    const u8 bit = static_cast<u8>(0x80 >> (x % 8));
    byte = static_cast<u8>(on ? (byte | bit) : (byte & ~bit));
}

// 2 bits: four pixels per byte, the leftmost in the two most significant bits.

void intensity_map2::create(i32 width, i32 height)
{
    allocate(width, height, checked_row_bytes((static_cast<i64>(width) + 3) / 4));
}

f32 intensity_map2::get(i32 x, i32 y) const
{
    const int shift = 6 - 2 * (x % 4);
    return static_cast<f32>((row(y)[x / 4] >> shift) & 0x3) / 3.0f;
}

void intensity_map2::set(i32 x, i32 y, f32 value)
{
    const int shift = 6 - 2 * (x % 4);
    const u8 field = static_cast<u8>(round_scaled(value, 3.0f) & 0x3);
    u8& byte = row(y)[x / 4];
    byte = static_cast<u8>((byte & ~(0x3 << shift)) | (field << shift));
}

// 4 bits: two pixels per byte, the even one in the high nibble.

void intensity_map4::create(i32 width, i32 height)
{
    allocate(width, height, checked_row_bytes((static_cast<i64>(width) + 1) / 2));
}

f32 intensity_map4::get(i32 x, i32 y) const
{
    const int shift = (x % 2 == 0) ? 4 : 0;
    return static_cast<f32>((row(y)[x / 2] >> shift) & 0xF) / 15.0f;
}

void intensity_map4::set(i32 x, i32 y, f32 value)
{
    const int shift = (x % 2 == 0) ? 4 : 0;
    const u8 field = static_cast<u8>(round_scaled(value, 15.0f) & 0xF);
    u8& byte = row(y)[x / 2];
    byte = static_cast<u8>((byte & ~(0xF << shift)) | (field << shift));
}

// 8 bits: one byte per pixel.

void intensity_map8::create(i32 width, i32 height)
{
    allocate(width, height, width);
}

f32 intensity_map8::get(i32 x, i32 y) const
{
    return static_cast<f32>(row(y)[x]) / 255.0f;
}

void intensity_map8::set(i32 x, i32 y, f32 value)
{
    row(y)[x] = static_cast<u8>(round_scaled(value, 255.0f));
}

bool intensity_map8::is_valid() const
{
    return intensity_map::is_valid() && row_bytes() == width();
}

// 16 bits: one unsigned word per pixel.

void intensity_map16::create(i32 width, i32 height)
{
    allocate(width, height, checked_row_bytes(static_cast<i64>(width) * 2));
}

f32 intensity_map16::get(i32 x, i32 y) const
{
    return static_cast<f32>(load_word(row(y) + 2 * static_cast<std::size_t>(x))) / 65535.0f;
}

void intensity_map16::set(i32 x, i32 y, f32 value)
{
    store_word(row(y) + 2 * static_cast<std::size_t>(x), static_cast<u16>(round_scaled(value, 65535.0f)));
}

bool intensity_map16::is_valid() const
{
    return intensity_map::is_valid() && row_bytes() == 2 * width();
}

void intensity_map16::release()
{
    free_storage();
    clear_width();
    clear_data_size();
}

// 32 bits: one float per pixel.

void intensity_map32::create(i32 width, i32 height)
{
    allocate(width, height, checked_row_bytes(static_cast<i64>(width) * 4));
}

f32 intensity_map32::get(i32 x, i32 y) const
{
    f32 value;
    std::memcpy(&value, row(y) + 4 * static_cast<std::size_t>(x), sizeof value);
    return value;
}

void intensity_map32::set(i32 x, i32 y, f32 value)
{
    std::memcpy(row(y) + 4 * static_cast<std::size_t>(x), &value, sizeof value);
}

void intensity_map32::fill(f32 value)
{
    u8* bytes = storage();
    if (!bytes)
        return;
    for (i32 offset = 0; offset + 4 <= data_size(); offset += 4)
        std::memcpy(bytes + offset, &value, sizeof value);
}

void intensity_map32::release()
{
    free_storage();
    clear_width();
}

std::unique_ptr<intensity_map> make_intensity_map(i32 bits)
{
    if (bits > 32)
        throw invalid_argument();
    if (bits == 1)
        return std::make_unique<intensity_map1>();
    if (bits == 2)
        return std::make_unique<intensity_map2>();
    if (bits <= 4)
        return std::make_unique<intensity_map4>();
    if (bits <= 8)
        return std::make_unique<intensity_map8>();
    if (bits <= 16)
        return std::make_unique<intensity_map16>();
    return std::make_unique<intensity_map32>();
}

}  // namespace tevrin
