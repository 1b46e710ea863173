// RLE and plaintext writers; index N, beyond the visible board, has no place in either.
#include "PatternWriter.h"

#include "BoardFileWriter.h"

namespace tivla {

namespace {

// Runs go into lines whole: a line is closed before a run that would pass the length.
class RleLines {
public:
    void add(std::int64_t count, char tag) {
        std::string token = count > 1 ? std::to_string(count) : std::string();
        token += tag;
        if (line_.size() + token.size() > kRleLineLength) {
            text_ += line_ + "\n";
            line_.clear();
        }
        line_ += token;
    }
    std::string finish() { return text_ + line_ + "\n"; }

private:
    std::string text_;
    std::string line_;
};

// A name on one line: line breaks would end the comment.
std::string oneLine(std::string text) {
    for (char& ch : text) {
        if (ch == '\n' || ch == '\r') {
            ch = ' ';
        }
    }
    return text;
}

std::string savedAt(const PatternNotes& notes) {
    return "Тивла, поколение " + std::to_string(notes.generation) + ".";
}

} // namespace

std::string rleText(const Board& board, const PatternNotes& notes) {
    const int n = board.BoardSize;
    std::string text;
    if (!notes.name.empty()) {
        text += "#N " + oneLine(notes.name) + "\n";
    }
    text += "#C " + savedAt(notes) + "\n";
    text += "x = " + std::to_string(n) + ", y = " + std::to_string(n) + ", rule = B3/S23\n";
    RleLines lines;
    int row = 0;
    for (int y = 0; y < n; ++y) {
        int end = n;
        while (end > 0 && !board.isAlive(end - 1, y)) {
            --end;
        }
        if (end == 0) {
            continue;
        }
        if (y > row) {
            lines.add(y - row, '$');
            row = y;
        }
        for (int x = 0; x < end;) {
            const bool alive = board.isAlive(x, y);
            int run = 1;
            while (x + run < end && board.isAlive(x + run, y) == alive) {
                ++run;
            }
            lines.add(run, alive ? 'o' : 'b');
            x += run;
        }
    }
    lines.add(1, '!');
    return text + lines.finish();
}

std::string plaintextText(const Board& board, const PatternNotes& notes) {
    const int n = board.BoardSize;
    // Appended piece by piece: GCC 12 misreads "literal" + std::string&& as an overlapping copy.
    std::string text = "!Name: ";
    text += oneLine(notes.name);
    text += "\n!";
    text += savedAt(notes);
    text += '\n';
    text.reserve(text.size() + static_cast<std::size_t>(n) * (n + 1));
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            text += board.isAlive(x, y) ? 'O' : '.';
        }
        text += '\n';
    }
    return text;
}

std::optional<std::string> textInFormat(PatternFormat format, const Board& board,
                                        const PatternNotes& notes) {
    switch (format) {
    case PatternFormat::BoardFile:
        return boardFileText(board);
    case PatternFormat::Rle:
        return rleText(board, notes);
    case PatternFormat::Plaintext:
        return plaintextText(board, notes);
    case PatternFormat::Life:
        break;
    }
    return std::nullopt;
}

FileError unwritableFormatError() {
    return FileError::refusal("Тивла читает файлы Life 1.06 и 1.05 (.lif, .life), но не "
                              "записывает их: сохраните поле как RLE (.rle) или plaintext "
                              "(.cells). Файл не записан.");
}

} // namespace tivla
