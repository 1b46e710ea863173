// Which format a file is read and written in, decided by its name alone.
#pragma once

#include <string_view>

namespace tivla {

enum class PatternFormat {
    BoardFile, // the program's own board file: every extension not listed below
    Rle,       // .rle
    Plaintext, // .cells
    Life,      // .lif, .life: Life 1.06 or 1.05 by the first line
};

// The format of the file at path by its extension, letter case aside.
PatternFormat formatForPath(std::string_view path);

// Pictures are only written: .png the board, .gif a run.
enum class PictureFormat { None, Png, Gif };

// The picture format the path's extension names, letter case aside.
PictureFormat pictureFormatForPath(std::string_view path);

} // namespace tivla
