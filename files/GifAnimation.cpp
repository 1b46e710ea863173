// giflib's encoder writing through a callback into a string that refuses to pass its limit.
#include "GifAnimation.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace tivla {

namespace {

// giflib wants a power of two: the three colours and one unused.
constexpr int kColourMapSize = 4;

struct ChangedRect {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
};

// The smallest rectangle holding every pixel where the two frames differ; the top-left pixel
// alone when none does, since every frame needs an image to carry its delay.
ChangedRect changedRect(const std::vector<std::uint8_t>& before, const BoardPicture& after) {
    int left = after.width();
    int right = -1;
    int top = after.height();
    int bottom = -1;
    for (int y = 0; y < after.height(); ++y) {
        const std::uint8_t* now = after.row(y);
        const std::uint8_t* was = before.data() + static_cast<std::size_t>(y) * after.width();
        for (int x = 0; x < after.width(); ++x) {
            if (now[x] != was[x]) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = y;
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

} // namespace

GifAnimation::GifAnimation(int width, int height, int delayCentiseconds, bool loops,
                           std::size_t maxBytes)
    : maxBytes_(maxBytes), delay_(delayCentiseconds), width_(width), height_(height) {
    failed_ = !start(width, height, loops);
}

GifAnimation::~GifAnimation() {
    if (gif_ != nullptr) {
        int error = 0;
        EGifCloseFile(gif_, &error);
    }
}

int GifAnimation::appendBytes(GifFileType* gif, const unsigned char* data, int length) {
    auto* self = static_cast<GifAnimation*>(gif->UserData);
    // giflib writes the file's last byte without looking at the result: a refused write is
    // remembered here, so that a truncated file is never taken for a whole one.
    if (self->bytes_.size() + static_cast<std::size_t>(length) > self->maxBytes_) {
        self->tooLarge_ = true;
        self->failed_ = true;
        return 0;
    }
    try {
        self->bytes_.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        self->failed_ = true;
        return 0;
    }
    return length;
}

bool GifAnimation::start(int width, int height, bool loops) {
    int error = 0;
    gif_ = EGifOpen(this, appendBytes, &error);
    if (gif_ == nullptr) {
        return false;
    }
    EGifSetGifVersion(gif_, true);
    GifColorType colours[kColourMapSize]{};
    for (std::size_t i = 0; i < BoardPicture::kPalette.size(); ++i) {
        const Rgb& colour = BoardPicture::kPalette[i];
        colours[i] = {colour.red, colour.green, colour.blue};
    }
    ColorMapObject* map = GifMakeMapObject(kColourMapSize, colours);
    if (map == nullptr) {
        return false;
    }
    const bool described =
        EGifPutScreenDesc(gif_, width, height, kColourMapSize, BoardPicture::kBoard, map) == GIF_OK;
    GifFreeMapObject(map);
    if (!described) {
        return false;
    }
    if (loops) {
        // The application extension browsers and viewers read: loop count 0, for ever.
        static const unsigned char kNetscape[] = "NETSCAPE2.0";
        static const unsigned char kForever[] = {1, 0, 0};
        if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
            EGifPutExtensionBlock(gif_, 11, kNetscape) != GIF_OK ||
            EGifPutExtensionBlock(gif_, sizeof kForever, kForever) != GIF_OK ||
            EGifPutExtensionTrailer(gif_) != GIF_OK) {
            return false;
        }
    }
    previous_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xff);
    return true;
}

bool GifAnimation::addFrame(const BoardPicture& picture) {
    if (failed_ || picture.width() != width_ || picture.height() != height_) {
        failed_ = true;
        return false;
    }
    GraphicsControlBlock control{};
    // Each frame is drawn over the one before: the part that stays need not be stored again.
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay_;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    const ChangedRect rect = changedRect(previous_, picture);
    std::vector<GifPixelType> line(static_cast<std::size_t>(rect.width));
    bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
                  GIF_OK &&
              EGifPutImageDesc(gif_, rect.left, rect.top, rect.width, rect.height, false,
                               nullptr) == GIF_OK;
    for (int y = rect.top; ok && y < rect.top + rect.height; ++y) {
        std::memcpy(line.data(), picture.row(y) + rect.left, line.size());
        ok = EGifPutLine(gif_, line.data(), rect.width) == GIF_OK;
        std::memcpy(previous_.data() + static_cast<std::size_t>(y) * width_, picture.row(y),
                    static_cast<std::size_t>(width_));
    }
    failed_ = failed_ || !ok;
    return !failed_;
}

std::optional<std::string> GifAnimation::finish() {
    int error = 0;
    const bool closed = gif_ != nullptr && EGifCloseFile(gif_, &error) == GIF_OK;
    gif_ = nullptr;
    if (failed_ || !closed) {
        return std::nullopt;
    }
    return std::move(bytes_);
}

} // namespace tivla
