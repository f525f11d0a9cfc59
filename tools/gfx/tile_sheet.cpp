// SPDX-FileCopyrightText: 2026 The TROLK developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tile_sheet.h"

namespace gfx {

namespace {

// Where in a group a part lies, in words: "top", "bottom left", "middle" and so on.
std::string placeWord(int index, int count, const char* first, const char* last) {
    if (count == 1) return "";
    if (index == 0) return first;
    if (index == count - 1) return last;
    return count == 3 ? "middle" : std::to_string(index + 1);
}

// The name of one tile of a piece: the piece's name, and for a group where the tile lies.
std::string partName(const Piece& piece, int part) {
    if (piece.indices.size() == 1) return piece.name;
    const std::string row = placeWord(part / piece.columns, piece.rows, "top", "bottom");
    const std::string column = placeWord(part % piece.columns, piece.columns, "left", "right");
    const std::string where = row.empty() ? column : column.empty() ? row : row + " " + column;
    return piece.name + " (" + where + ")";
}

class SheetBuilder {
  public:
    SheetBuilder(const Palette& palette, TileSheet& result) : palette_(palette), result_(result) {}

    bool claim(const Piece& piece, int part, std::string& error) {
        const int index = piece.indices[part];
        Claim& slot = piece.style < 0 ? shared_[index] : own_[index];
        if (slot.piece) {
            error = piece.origin + ": tile " + std::to_string(index) + " is already drawn at " +
                    slot.piece->origin;
            return false;
        }
        slot = {&piece, part};
        return true;
    }

    bool build(std::string& error) {
        for (int i = 1; i < kTileCount; ++i)
            if (!resolve(i, error)) return false;
        return true;
    }

  private:
    struct Claim {
        const Piece* piece = nullptr;
        int part = 0;
    };
    enum class State { Open, Busy, Done };

    const Claim& claimOf(int index) const {
        return own_[index].piece ? own_[index] : shared_[index];
    }

    bool resolve(int index, std::string& error) {
        if (state_[index] == State::Done) return true;
        if (state_[index] == State::Busy) {
            error = claimOf(index).piece->origin + ": tile " + std::to_string(index) +
                    " is derived from itself";
            return false;
        }
        const Claim& claim = claimOf(index);
        state_[index] = State::Busy;
        Image tile(kTileSize, kTileSize);
        if (claim.piece) {
            const Piece& piece = *claim.piece;
            if (piece.derivation == Derivation::None) {
                Image whole;
                if (!paintPiece(piece, palette_, whole, error)) return false;
                tile = crop(whole, (claim.part % piece.columns) * kTileSize,
                            (claim.part / piece.columns) * kTileSize, kTileSize, kTileSize);
            } else {
                if (!claimOf(piece.source).piece) {
                    error =
                        piece.origin + ": tile " + std::to_string(piece.source) + " is not drawn";
                    return false;
                }
                if (!resolve(piece.source, error)) return false;
                tile = tileOf(result_.sheet, piece.source);
                if (piece.derivation == Derivation::Mirror) tile = mirrored(tile);
                if (piece.derivation == Derivation::Flip) tile = flipped(tile);
                tile = shifted(tile, piece.shiftX, piece.shiftY);
            }
            result_.names[index] = partName(piece, claim.part);
        }
        blit(result_.sheet, tile, (index % kSheetColumns) * kTileSize,
             (index / kSheetColumns) * kTileSize, false);
        state_[index] = State::Done;
        return true;
    }

    const Palette& palette_;
    TileSheet& result_;
    std::array<Claim, kTileCount> shared_{};
    std::array<Claim, kTileCount> own_{};
    std::array<State, kTileCount> state_{};
};

}  // namespace

bool buildTileSheet(const std::vector<Piece>& pieces, const Palette& palette, int style,
                    TileSheet& result, std::string& error) {
    result.sheet = Image(kSheetWidth, kSheetHeight);
    result.names = {};
    SheetBuilder builder(palette, result);
    for (const Piece& piece : pieces) {
        if (piece.kind != PieceKind::Tile || (piece.style >= 0 && piece.style != style)) continue;
        for (int part = 0; part < int(piece.indices.size()); ++part)
            if (!builder.claim(piece, part, error)) return false;
    }
    return builder.build(error);
}

Image tileOf(const Image& sheet, int index) {
    return crop(sheet, (index % kSheetColumns) * kTileSize, (index / kSheetColumns) * kTileSize,
                kTileSize, kTileSize);
}

}  // namespace gfx
