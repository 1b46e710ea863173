// libpng writes into memory, so that the file goes to disk through the one atomic save.
#include "PngEncoding.h"

#include <png.h>

#include <csetjmp>
#include <new>
#include <vector>

namespace tivla {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        out->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        appended = false;
    }
    // An exception must not cross libpng's C frames, so its own error path unwinds them; and
    // only once the handler has ended, or the longjmp would leave the exception held for ever.
    if (!appended) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

// Kept apart from its caller so that nothing with a destructor lives in the frame setjmp
// returns to.
bool writeImage(png_structp png, png_infop info, const BoardPicture& picture, png_bytepp rows,
                png_colorp palette) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), 2, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, static_cast<int>(BoardPicture::kPalette.size()));
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    // The rows hold one byte a pixel; libpng packs four into each byte of the file.
    png_set_packing(png);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

std::optional<std::string> encodePng(const BoardPicture& picture) {
    if (picture.width() == 0 || picture.height() == 0) {
        return std::nullopt;
    }
    std::vector<png_color> palette;
    for (const Rgb& colour : BoardPicture::kPalette) {
        palette.push_back({colour.red, colour.green, colour.blue});
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < picture.height(); ++y) {
        rows.push_back(const_cast<png_bytep>(picture.row(y)));
    }
    std::string bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    bool written = false;
    if (info != nullptr) {
        png_set_write_fn(png, &bytes, appendBytes, flushNothing);
        written = writeImage(png, info, picture, rows.data(), palette.data());
    }
    png_destroy_write_struct(&png, &info);
    if (!written) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace tivla
