// The extension decides, never the contents: a board file named .rle is read as RLE.
#include "PatternFormat.h"

#include <string>

namespace tivla {

namespace {

// The name's extension in lower case, empty when it has none.
std::string extensionOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    std::string extension(name.substr(dot + 1));
    for (char& ch : extension) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return extension;
}

} // namespace

PatternFormat formatForPath(std::string_view path) {
    const std::string extension = extensionOf(path);
    if (extension == "rle") {
        return PatternFormat::Rle;
    }
    if (extension == "cells") {
        return PatternFormat::Plaintext;
    }
    if (extension == "lif" || extension == "life") {
        return PatternFormat::Life;
    }
    return PatternFormat::BoardFile;
}

PictureFormat pictureFormatForPath(std::string_view path) {
    const std::string extension = extensionOf(path);
    if (extension == "png") {
        return PictureFormat::Png;
    }
    return extension == "gif" ? PictureFormat::Gif : PictureFormat::None;
}

} // namespace tivla
