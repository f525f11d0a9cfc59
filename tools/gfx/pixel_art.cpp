// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pixel_art.h"

namespace gfx {

namespace {

constexpr int kGlyphCodeFirst = 32;
constexpr int kGlyphCodeLast = 126;

bool readLegend(TextSource& source, std::map<char, std::string>& legend, std::string& error) {
    std::string line;
    while (source.nextRaw(line)) {
        line = trimmed(line);
        if (line.empty()) continue;
        if (line == "end") return true;
        const std::vector<std::string> words = splitWords(line);
        if (words.size() != 2 || words[0].size() != 1) {
            error = source.where("a legend line is one character and one colour name");
            return false;
        }
        legend[words[0][0]] = words[1];
    }
    error = source.where("legend without end");
    return false;
}

bool readGrid(TextSource& source, Piece& piece, std::string& error) {
    for (int row = 0; row < piece.height; ++row) {
        std::string line;
        if (!source.nextRaw(line)) {
            error = source.where("the grid of " + piece.origin + " ends early");
            return false;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (int(line.size()) != piece.width) {
            error = source.where("grid row of " + std::to_string(line.size()) +
                                 " characters, expected " + std::to_string(piece.width));
            return false;
        }
        for (char c : line)
            if (!piece.legend.count(c)) {
                error = source.where(std::string("character '") + c + "' is not in the legend");
                return false;
            }
        piece.grid.push_back(line);
    }
    return true;
}

bool parseStyle(const std::string& name, int& style) {
    for (int s = 0; s < kStyleCount; ++s)
        if (name == kStyleNames[s]) {
            style = s;
            return true;
        }
    return false;
}

bool readTileHeader(TextSource& source, const std::string& line, Piece& piece, std::string& error) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
        error = source.where("a tile needs ': name' after its indices");
        return false;
    }
    piece.name = trimmed(line.substr(colon + 1));
    const std::vector<std::string> words = splitWords(line.substr(0, colon));
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const size_t equals = word.find('=');
        const std::string key = word.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
        int number = 0;
        bool good = true;
        if (equals == std::string::npos && parseInt(word, number)) {
            good = number >= 1 && number < 240;
            piece.indices.push_back(number);
        } else if (equals == std::string::npos) {
            good = parseSize(word, piece.columns, piece.rows);
        } else if (key == "style") {
            good = parseStyle(value, piece.style);
        } else if (key == "mirror" || key == "flip" || key == "from") {
            piece.derivation = key == "mirror" ? Derivation::Mirror
                               : key == "flip" ? Derivation::Flip
                                               : Derivation::Copy;
            good = parseInt(value, piece.source) && piece.source >= 1 && piece.source < 240;
        } else if (key == "shift") {
            const size_t comma = value.find(',');
            good = comma != std::string::npos && parseInt(value.substr(0, comma), piece.shiftX) &&
                   parseInt(value.substr(comma + 1), piece.shiftY);
        } else {
            good = false;
        }
        if (!good) {
            error = source.where("cannot read '" + word + "'");
            return false;
        }
    }
    if (piece.indices.empty() || int(piece.indices.size()) != piece.columns * piece.rows) {
        error = source.where("a tile group of " + std::to_string(piece.columns) + "x" +
                             std::to_string(piece.rows) + " needs as many indices");
        return false;
    }
    if (piece.derivation != Derivation::None && piece.indices.size() != 1) {
        error = source.where("only single tiles can be derived");
        return false;
    }
    if (piece.derivation == Derivation::None && (piece.shiftX || piece.shiftY)) {
        error = source.where("shift= needs mirror=, flip= or from=");
        return false;
    }
    piece.width = piece.columns * kTileSize;
    piece.height = piece.rows * kTileSize;
    return true;
}

bool readGlyphHeader(TextSource& source, const std::vector<std::string>& words, Piece& piece,
                     std::string& error) {
    int code = -1;
    if (words.size() == 2 && words[1] == "space") code = ' ';
    else if (words.size() == 2 && words[1].size() == 1)
        code = static_cast<unsigned char>(words[1][0]);
    if (code < kGlyphCodeFirst || code > kGlyphCodeLast) {
        error = source.where("expected: glyph <one character> or glyph space");
        return false;
    }
    piece.indices.push_back(code);
    return true;
}

}  // namespace

bool readPixelArt(TextSource& source, std::vector<Piece>& pieces, std::string& error) {
    std::map<char, std::string> legend;
    int glyphWidth = 0;
    int glyphHeight = 0;
    std::string line;
    while (source.nextStatement(line)) {
        const std::vector<std::string> words = splitWords(line);
        if (words[0] == "legend") {
            if (!readLegend(source, legend, error)) return false;
            continue;
        }
        if (words[0] == "glyph-size") {
            if (words.size() != 2 || !parseSize(words[1], glyphWidth, glyphHeight)) {
                error = source.where("expected: glyph-size WxH");
                return false;
            }
            continue;
        }
        Piece piece;
        piece.origin = source.where(words[0]);
        piece.origin.resize(piece.origin.size() - words[0].size() - 2);
        piece.legend = legend;
        if (words[0] == "tile") {
            piece.kind = PieceKind::Tile;
            if (!readTileHeader(source, line, piece, error)) return false;
        } else if (words[0] == "glyph") {
            piece.kind = PieceKind::Glyph;
            if (glyphWidth == 0) {
                error = source.where("glyph-size must come before the first glyph");
                return false;
            }
            if (!readGlyphHeader(source, words, piece, error)) return false;
            piece.width = glyphWidth;
            piece.height = glyphHeight;
        } else if (words[0] == "image") {
            piece.kind = PieceKind::Image;
            if (words.size() != 3 || !parseSize(words[2], piece.width, piece.height)) {
                error = source.where("expected: image name WxH");
                return false;
            }
            piece.name = words[1];
        } else {
            error = source.where("unknown statement '" + words[0] + "'");
            return false;
        }
        if (piece.derivation == Derivation::None && !readGrid(source, piece, error)) return false;
        pieces.push_back(std::move(piece));
    }
    return true;
}

bool paintPiece(const Piece& piece, const Palette& palette, Image& image, std::string& error) {
    image = Image(piece.width, piece.height);
    for (int y = 0; y < piece.height && y < int(piece.grid.size()); ++y)
        for (int x = 0; x < piece.width; ++x) {
            const std::string& name = piece.legend.at(piece.grid[y][x]);
            const Rgb* colour = palette.find(name);
            if (!colour) {
                error = piece.origin + ": the palette has no colour " + name;
                return false;
            }
            image.at(x, y) = *colour;
        }
    return true;
}

}  // namespace gfx
