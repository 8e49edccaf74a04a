// PNG files decoded to RGBA with libpng's simplified API (libpng 1.6), which
// converts every colour type, bit depth, palette and transparency to 8-bit
// RGBA and reports a damaged file as a failure rather than a crash.
//
// libpng is bound when the first icon is decoded, not linked: the client must
// load on a machine without it (a slim CI image), where icons are the plain
// generated one.
#include "png_decoder.h"

#if defined(STEAMBRIDGE_WITH_LIBPNG)
#include <dlfcn.h>
#include <png.h>

#include <cstring>
#include <new>
#endif

namespace offline_steam::client {
namespace {

#if defined(STEAMBRIDGE_WITH_LIBPNG)
// As the scenario loader allows: far above the 64 x 64 Steam shows.
constexpr png_uint_32 kMaxSide = 4096;

struct Libpng {
    decltype(&png_image_begin_read_from_file) beginRead = nullptr;
    decltype(&png_image_finish_read) finishRead = nullptr;
    decltype(&png_image_free) free = nullptr;
};

template <class Function>
Function Bind(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

// libpng's functions, or all null when the machine has no libpng 1.6.
const Libpng& TheLibpng() {
    static const Libpng bound = [] {
        Libpng functions;
        void* library = dlopen("libpng16.so.16", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) return functions;
        functions.beginRead =
            Bind<decltype(functions.beginRead)>(library, "png_image_begin_read_from_file");
        functions.finishRead =
            Bind<decltype(functions.finishRead)>(library, "png_image_finish_read");
        functions.free = Bind<decltype(functions.free)>(library, "png_image_free");
        if (!functions.beginRead || !functions.finishRead || !functions.free) functions = Libpng();
        return functions;
    }();
    return bound;
}

bool DecodeWithLibpng(const std::string& path, RgbaImage* image) {
    const Libpng& libpng = TheLibpng();
    if (image == nullptr || libpng.beginRead == nullptr) return false;
    const auto png_image_begin_read_from_file = libpng.beginRead;
    const auto png_image_finish_read = libpng.finishRead;
    const auto png_image_free = libpng.free;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) return false;
    if (png.width == 0 || png.height == 0 || png.width > kMaxSide || png.height > kMaxSide) {
        png_image_free(&png);
        return false;
    }
    png.format = PNG_FORMAT_RGBA;
    RgbaImage decoded;
    decoded.width = png.width;
    decoded.height = png.height;
    try {
        decoded.rgba.resize(PNG_IMAGE_SIZE(png));
    } catch (const std::bad_alloc&) {
        png_image_free(&png);
        return false;
    }
    // Rows top first, packed (stride 0: width * 4 bytes).
    if (png_image_finish_read(&png, nullptr, decoded.rgba.data(), 0, nullptr) == 0) {
        png_image_free(&png);
        return false;
    }
    *image = std::move(decoded);
    return true;
}
#endif

}  // namespace

PngDecoder ThePngDecoder() {
#if defined(STEAMBRIDGE_WITH_LIBPNG)
    return &DecodeWithLibpng;
#else
    return nullptr;
#endif
}

}  // namespace offline_steam::client
