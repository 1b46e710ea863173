// What a pattern file says of itself in its comment lines, kept for the open dialog's preview.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tivla {

class PatternText;

// The name, the author and the first comment lines of a pattern file. What is kept is bounded
// whatever the file holds: each text is cut to kMaxLength bytes (at a character's start, with
// an ellipsis added), and comment lines past kMaxLines, like a second name, are passed over
// without being held. So the whole costs at most (kMaxLines + 2) x (kMaxLength + 3) bytes,
// about 2.5 KB, for a file of any size.
class PatternComments {
public:
    static constexpr std::size_t kMaxLength = 240;
    static constexpr std::size_t kMaxLines = 8;

    // A "#" line of RLE or Life, its "#" taken: "#N" is the name, "#O" the author, "#C", "#c"
    // and "#D" a comment; anything else is passed over. The line feed is taken too.
    void readMarkedLine(PatternText& text);
    // A plaintext "!" line, its "!" taken: "!Name:" and "!Author:" as pattern collections write
    // them, any other line a comment.
    void readPlaintextLine(PatternText& text);

    const std::string& name() const { return name_; }
    const std::string& author() const { return author_; }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    enum class Kind { Name, Author, Comment };
    void keep(Kind kind, std::string text);

    std::string name_;
    std::string author_;
    std::vector<std::string> lines_;
};

} // namespace tivla
