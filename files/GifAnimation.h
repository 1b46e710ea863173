// Board pictures as the frames of an animated GIF, through giflib, into memory up to a limit.
#pragma once

#include "BoardPicture.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct GifFileType;

namespace tivla {

class GifAnimation {
public:
    // Frames of width x height pixels shown delayCentiseconds each; a looping animation plays
    // for ever, any other once. The file may grow to maxBytes; a frame that would take it
    // further is refused.
    GifAnimation(int width, int height, int delayCentiseconds, bool loops, std::size_t maxBytes);
    ~GifAnimation();
    GifAnimation(const GifAnimation&) = delete;
    GifAnimation& operator=(const GifAnimation&) = delete;

    // Adds the picture, which has the animation's size, as the next frame: only the rectangle
    // that differs from the frame before is stored. False once anything has failed.
    bool addFrame(const BoardPicture& picture);
    // The whole file, or nothing when a frame was refused or giflib failed.
    std::optional<std::string> finish();
    // The failure was the byte limit.
    bool tooLarge() const { return tooLarge_; }

private:
    static int appendBytes(GifFileType* gif, const unsigned char* data, int length);
    bool start(int width, int height, bool loops);

    GifFileType* gif_ = nullptr;
    std::string bytes_;
    std::size_t maxBytes_;
    int delay_;
    bool failed_ = false;
    bool tooLarge_ = false;
    // The frame before, one palette index a pixel, to find what changed.
    std::vector<std::uint8_t> previous_;
    int width_;
    int height_;
};

} // namespace tivla
