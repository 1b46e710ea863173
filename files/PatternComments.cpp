// The bounded keeping of a pattern file's name, author and comments.
#include "PatternComments.h"

#include "PatternText.h"

#include <string_view>
#include <utility>

namespace tivla {

namespace {

// The rest of the line, at most kMaxLength bytes of it, the line feed taken. A longer line is
// passed over beyond its start, so a comment of ten megabytes costs no more than a short one.
std::string lineStart(PatternText& text) {
    std::string line;
    const int lineNumber = text.line();
    if (!text.readLine(line, PatternComments::kMaxLength)) {
        // A line one byte too long has been read to its line feed already.
        if (text.line() == lineNumber) {
            text.skipLine();
        }
        // Cut before the character the limit falls in, not through its UTF-8 bytes.
        std::size_t end = PatternComments::kMaxLength;
        while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) {
            --end;
        }
        line.resize(end);
        line += "…";
    }
    // Control characters would show as boxes or break the preview's lines.
    for (char& ch : line) {
        if (static_cast<unsigned char>(ch) < ' ' || ch == 0x7F) {
            ch = ' ';
        }
    }
    return std::string(trimmed(line));
}

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

} // namespace

void PatternComments::readMarkedLine(PatternText& text) {
    const int marker = text.peek();
    const bool wanted =
        marker == 'N' || marker == 'O' || marker == 'C' || marker == 'c' || marker == 'D';
    if (!wanted || (marker != 'N' && marker != 'O' && lines_.size() == kMaxLines)) {
        text.skipLine();
        return;
    }
    text.get();
    std::string line = lineStart(text);
    // Golly's "#CXRLE Pos=0,0" is a note for programs, not for people.
    if (marker == 'C' && startsWith(line, "XRLE")) {
        return;
    }
    keep(marker == 'N'   ? Kind::Name
         : marker == 'O' ? Kind::Author
                         : Kind::Comment,
         std::move(line));
}

void PatternComments::readPlaintextLine(PatternText& text) {
    std::string line = lineStart(text);
    for (const auto& [start, kind] : {std::pair{std::string_view("Name:"), Kind::Name},
                                      std::pair{std::string_view("Author:"), Kind::Author}}) {
        if (startsWith(line, start)) {
            keep(kind, std::string(trimmed(std::string_view(line).substr(start.size()))));
            return;
        }
    }
    keep(Kind::Comment, std::move(line));
}

void PatternComments::keep(Kind kind, std::string text) {
    if (text.empty()) {
        return;
    }
    // The first name and author count; a later one is passed over.
    if (kind == Kind::Name && name_.empty()) {
        name_ = std::move(text);
    } else if (kind == Kind::Author && author_.empty()) {
        author_ = std::move(text);
    } else if (kind == Kind::Comment && lines_.size() < kMaxLines) {
        lines_.push_back(std::move(text));
    }
}

} // namespace tivla
