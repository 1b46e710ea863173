// Reading the patterns Life programs exchange: RLE, plaintext and Life 1.06 / 1.05.
#pragma once

#include "Pattern.h"
#include "PatternFormat.h"

#include <istream>
#include <string>

namespace tivla {

// Each reader reads the whole text and checks it before anything is placed: the result is a
// pattern whose box is at most 200 x 200, or the refusal, with its line where one helps.
PatternRead readRle(std::istream& in);
PatternRead readPlaintext(std::istream& in);
// Life 1.06 or Life 1.05, as the first line says.
PatternRead readLife(std::istream& in);

// The reader of a pattern format; format must not be the board file.
PatternRead readPattern(std::istream& in, PatternFormat format);

// Opens the file at path and reads it with readPattern; an open failure carries the board
// file's error texts ("File not found" and the like).
PatternRead readPatternFile(const std::string& path, PatternFormat format);

} // namespace tivla
