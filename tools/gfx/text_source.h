// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Line-by-line reading of our text sources. Outside pixel grids, blank lines and lines whose
// first visible character is '#' are skipped; inside a grid every line counts as it stands,
// so '#' and spaces may serve as pixels. Errors name the file and the line.

#include <string>
#include <vector>

namespace gfx {

class TextSource {
  public:
    // Reads the whole file; false with a reason when it cannot be read.
    bool open(const std::string& path, std::string& error);
    // Uses the given text as the file's content (tests, generated sources).
    void assign(const std::string& name, const std::string& text);

    // Next meaningful line, skipping blanks and comments; false at the end.
    bool nextStatement(std::string& line);
    // Next line exactly as written (a grid row); false at the end.
    bool nextRaw(std::string& line);
    // "file:line: message" for the line read last.
    std::string where(const std::string& message) const;

  private:
    std::string name_;
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

// Splits at runs of spaces and tabs.
std::vector<std::string> splitWords(const std::string& line);
// Parses a whole decimal integer (optionally signed); false when the text is anything else.
bool parseInt(const std::string& text, int& value);
// Parses "WxH" into two positive integers.
bool parseSize(const std::string& text, int& w, int& h);
// Text without leading and trailing spaces and tabs.
std::string trimmed(const std::string& text);

}  // namespace gfx
