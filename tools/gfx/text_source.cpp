// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_source.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace gfx {

bool TextSource::open(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    assign(path, text.str());
    return true;
}

void TextSource::assign(const std::string& name, const std::string& text) {
    name_ = name;
    lines_.clear();
    next_ = 0;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
    }
}

bool TextSource::nextStatement(std::string& line) {
    while (next_ < lines_.size()) {
        const std::string candidate = trimmed(lines_[next_++]);
        if (candidate.empty() || candidate[0] == '#') continue;
        line = candidate;
        return true;
    }
    return false;
}

bool TextSource::nextRaw(std::string& line) {
    if (next_ >= lines_.size()) return false;
    line = lines_[next_++];
    return true;
}

std::string TextSource::where(const std::string& message) const {
    return name_ + ":" + std::to_string(next_) + ": " + message;
}

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

bool parseInt(const std::string& text, int& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto [rest, problem] = std::from_chars(begin, end, value);
    return problem == std::errc() && rest == end && begin != end;
}

bool parseSize(const std::string& text, int& w, int& h) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    return parseInt(text.substr(0, x), w) && parseInt(text.substr(x + 1), h) && w > 0 && h > 0;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

}  // namespace gfx
