// A board picture as the bytes of a PNG file, through libpng.
#pragma once

#include "BoardPicture.h"

#include <optional>
#include <string>

namespace tivla {

// A palette PNG of the picture's three colours, two bits a pixel, with nothing in it that
// changes from run to run: the same picture always gives the same bytes. Nothing when libpng
// fails, which only running out of memory makes it do.
std::optional<std::string> encodePng(const BoardPicture& picture);

} // namespace tivla
